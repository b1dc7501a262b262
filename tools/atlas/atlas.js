// Orvanta Atlas: looks codes up, finds the codes of a clicked point and
// draws the grids, all through the tools' own core (OrvantaCore, compiled
// to WebAssembly); this script only asks the core and draws its answers.
// Its parts (the core wrapper, the search box, the click lookup and the
// grid layers) take a Leaflet map, so that another page can use them; the
// coastline, graticule, pointer readout and large squares are the map
// pages' pieces (window.orvantaPieces), the readout fed by the core.
var OrvantaAtlas = (function () {
  'use strict';

  var P = window.orvantaPieces;
  var CELL = '#3f6f9e', SMALL = '#7f9fbe', FOUND = '#d7191c';
  var MAX_LABELS = 1500, MAX_LOOKUPS = 1000; // the most labels drawn, and codes or points of one search

  // The core: every answer is a JSON text of the C functions.
  function Core(module) {
    this.module = module;
    this.grids = [];
  }
  // Texts go to the core through its heap rather than its small stack, so
  // that a text of any length is read as the tools read it.
  Core.prototype.ask = function (name, types, args) {
    var module = this.module, held = [];
    var values = args.map(function (arg, i) {
      if (types[i] !== 'string') return arg;
      var size = module.lengthBytesUTF8(arg) + 1, at = module._malloc(size);
      module.stringToUTF8(arg, at, size);
      held.push(at);
      return at;
    });
    try {
      return JSON.parse(module.ccall(name, 'string', types.map(function () { return 'number'; }), values));
    } finally {
      held.forEach(function (at) { module._free(at); });
    }
  };
  // Loads a file of base64 text through the tools' loader.
  Core.prototype.addGrid = function (name, base64) {
    var text = atob(base64), size = text.length, at = this.module._malloc(Math.max(size, 1));
    var heap = this.module.HEAPU8;
    for (var i = 0; i < size; i++) heap[at + i] = text.charCodeAt(i);
    var answer = this.ask('atlas_add_grid', ['string', 'number', 'number'], [name, at, size]);
    this.module._free(at);
    if (answer.ok) this.grids.push(this.ask('atlas_grid', ['number'], [this.grids.length]));
    return answer;
  };
  Core.prototype.convert = function (text) { return this.ask('atlas_convert', ['string'], [text]); };
  Core.prototype.reverse = function (text) { return this.ask('atlas_reverse', ['string'], [text]); };
  Core.prototype.position = function (lat, lon) {
    return this.ask('atlas_position', ['number', 'number'], [lat, lon]);
  };

  // A layer switch's label: Leaflet reads it as HTML, so a file's name is
  // escaped, and a name already there is numbered so that each grid keeps
  // a switch of its own.
  function layerLabel(taken, text) {
    var html = text.replace(/[&<>"']/g, function (c) { return '&#' + c.charCodeAt(0) + ';'; });
    var label = html;
    for (var n = 2; taken.hasOwnProperty(label); ++n) label = html + ' (' + n + ')';
    return label;
  }

  function element(tag, className, text) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // A longitude within -180..180.
  function wrap(lon) {
    return ((lon + 180) % 360 + 360) % 360 - 180;
  }

  // The shift that moves a longitude to where the map draws that part of
  // the world (within -180..180, or a turn further east where a grid is
  // drawn so) nearest to another longitude.
  // drawn(lon) tells where a grid is drawn: such a place wins.
  function shiftToward(lon, near, turns, drawn) {
    var base = wrap(lon) - lon, best = base;
    var score = function (shift) { return Math.abs(lon + shift - near) + (drawn && !drawn(lon + shift) ? 1000 : 0); };
    turns.forEach(function (turn) {
      if (score(base + turn) < score(best)) best = base + turn;
    });
    return best;
  }

  // Whether a grid is drawn in one piece with its western longitudes a turn
  // further east: so when that makes it narrower (the Pacific grid).
  function gridTurn(grid) {
    var lons = [];
    grid.quads.forEach(function (q) { lons.push(q[3], q[5]); });
    if (!lons.length) return 0;
    var span = function (v) { return Math.max.apply(null, v) - Math.min.apply(null, v); };
    return span(lons.map(function (l) { return l < 0 ? l + 360 : l; })) < span(lons) ? 360 : 0;
  }

  // The quads of a grid as boxes {south, west, north, east, quad}, west
  // below east, moved by the grid's turn.
  function gridBoxes(grid) {
    var turn = gridTurn(grid);
    return grid.quads.map(function (q) {
      var west = Math.min(q[3], q[5]), east = Math.max(q[3], q[5]);
      var shift = turn && west < 0 ? turn : 0;
      if (east - west > 360 || !(q[4] > q[2])) return null;
      return {south: q[2], north: q[4], west: west + shift, east: east + shift, x0: q[3] + shift, x1: q[5] + shift,
              quad: q};
    }).filter(function (b) { return b; });
  }

  // ---- Grid layers -------------------------------------------------------

  // One grid's layer group: its large squares with one name each (the map
  // pages' layer, unless withSquares is false because the page draws them
  // already), and, drawn at the map's zoom, from regional zoom the cells
  // with their numbers and the small squares with theirs when they are
  // large enough to read.
  function GridLayer(map, grid, renderer, withSquares) {
    this.map = map;
    this.grid = grid;
    this.boxes = gridBoxes(grid);
    this.renderer = renderer;
    this.details = L.layerGroup();
    this.group = L.layerGroup([this.details]);
    this.labels = [];   // the large squares' names drawn
    if (withSquares !== false) {
      this.group.addLayer(P.squaresLayer(this.boxes.map(function (b) {
        return [b.quad[0], b.quad[1], [[b.south, b.west, b.north, b.east]]];
      }), this.labels));
    }
  }
  GridLayer.prototype.draw = function () {
    var map = this.map, group = this.details, grid = this.grid, renderer = this.renderer;
    group.clearLayers();
    if (!map.hasLayer(this.group)) return;
    var view = map.getBounds().pad(0.1), zoom = map.getZoom(), labels = 0;
    var cells = [], smalls = [];
    // The width and height on the screen of a box between two corners.
    var size = function (a, b) {
      var p = map.latLngToContainerPoint(a), q = map.latLngToContainerPoint(b);
      return {w: Math.abs(p.x - q.x), h: Math.abs(p.y - q.y)};
    };
    // Whether a label of so many characters fits a box of that size.
    var fits = function (box, characters) { return box.w >= 6 * characters + 2 && box.h >= 13; };
    var label = function (lat, lon, text, className) {
      if (labels++ >= MAX_LABELS) return;
      group.addLayer(L.marker([lat, lon], {interactive: false, keyboard: false,
        icon: L.divIcon({className: className, html: '', iconSize: null})}).on('add', function (e) {
        e.target.getElement().textContent = text;
      }));
    };
    var ring = function (s, w, n, e) { return [[s, w], [n, w], [n, e], [s, e], [s, w]]; };
    this.boxes.forEach(function (box) {
      var bounds = L.latLngBounds([box.south, box.west], [box.north, box.east]);
      if (!view.intersects(bounds)) return;
      var q = box.quad, form = grid.forms[q[6]];
      if (zoom < 5 || !form) return;
      var fx = form[0], fy = form[1], dx = (box.x1 - box.x0) / fx, dy = (box.north - box.south) / fy;
      var cellSide = size([box.south, box.x0], [box.south + dy, box.x0 + dx]);
      var smallSide = {w: cellSide.w / 9, h: cellSide.h / 9};
      for (var r = 0; r < fy; r++) {
        for (var c = 0; c < fx; c++) {
          var number = form[2][(fy - 1 - r) * fx + c];
          if (number < 0) continue;
          var s = box.south + r * dy, w = box.x0 + c * dx;
          var cell = L.latLngBounds([s, w], [s + dy, w + dx]);
          if (!view.intersects(cell)) continue;
          cells.push(ring(s, Math.min(w, w + dx), s + dy, Math.max(w, w + dx)));
          var name = (number < 10 ? '0' : '') + number;
          var smallLabels = fits(smallSide, 4);
          if (!smallLabels && fits(cellSide, 2)) label(s + dy / 2, w + dx / 2, name, 'atlas-cell-label');
          if (smallSide.w < 10 || smallSide.h < 10) continue;
          for (var sr = 0; sr < 9; sr++) {
            for (var sc = 0; sc < 9; sc++) {
              var ss = s + sr * dy / 9, sw = w + sc * dx / 9, se = sw + dx / 9;
              if (!view.intersects(L.latLngBounds([ss, sw], [ss + dy / 9, se]))) continue;
              smalls.push(ring(ss, Math.min(sw, se), ss + dy / 9, Math.max(sw, se)));
              var n = grid.small[(8 - sr) * 9 + sc];
              if (smallLabels) label(ss + dy / 18, (sw + se) / 2, name + (n < 10 ? '0' : '') + n, 'atlas-small-label');
            }
          }
        }
      }
    });
    var line = function (rings, color, weight) {
      if (rings.length) group.addLayer(L.polyline(rings, {color: color, weight: weight, interactive: false,
                                                           renderer: renderer}));
    };
    line(smalls, SMALL, 0.5);
    line(cells, CELL, 0.8);
  };

  // ---- Results -----------------------------------------------------------

  // One result as a table of what orvanta-convert says of it.
  function resultTable(result, title) {
    var box = element('section', 'atlas-result');
    box.setAttribute('data-code', result.code);
    if (title) box.appendChild(element('div', 'atlas-result-title', title));
    if (result.message !== undefined) {
      box.className += ' atlas-failed';
      box.appendChild(element('div', 'atlas-code', result.code));
      var message = element('div', 'atlas-message', result.message);
      message.setAttribute('data-field', 'message');
      box.appendChild(message);
      return box;
    }
    var table = element('table');
    var row = function (label, field, text) {
      var tr = table.insertRow(), th = element('th', '', label), td = tr.insertCell();
      tr.insertBefore(th, td);
      td.textContent = text;
      if (field) td.setAttribute('data-field', field);
    };
    row('Code', 'code', result.code);
    row('Latitude', 'latitude', result.latitude);
    row('Longitude', 'longitude', result.longitude);
    row('Decimal', 'decimal', result.latitude_decimal + ' ' + result.longitude_decimal);
    row('DMS', 'dms', result.latitude_dms + ' ' + result.longitude_dms);
    row('Chart', 'chart', result.chart + ' (' + result.confidence + ')');
    var b = result.bounds.map(function (v) { return typeof v === 'number' ? v.toFixed(4) : '?'; });
    row('Bounds', 'bounds', b[0] + ' to ' + b[2] + ' N, ' + b[1] + ' to ' + b[3] + ' E');
    row('precision_nm', 'precision_nm', result.precision_nm);
    box.appendChild(table);
    return box;
  }

  // The text a copy puts on the clipboard: the tools' line of each result.
  function resultLines(results) {
    return results.map(function (r) { return r.line; }).join('\n');
  }

  function copyText(text) {
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(text).catch(function () { copyByCommand(text); });
    } else {
      copyByCommand(text);
    }
  }
  function copyByCommand(text) {
    var area = element('textarea');
    area.value = text;
    document.body.appendChild(area);
    area.select();
    document.execCommand('copy');
    document.body.removeChild(area);
  }

  // ---- The lookup panel --------------------------------------------------

  // The search box, the result panel, the click lookup and the found
  // squares on a map; onState hears the state text of each lookup.
  // turns: the shifts, besides none, at which the map draws parts of the
  // world ([360] with a grid across the 180th meridian).
  function Lookup(map, core, turns, onState) {
    this.map = map;
    this.turns = turns;
    this.drawn = null; // set by the page: whether a grid is drawn at a point
    this.core = core;
    this.onState = onState || function () {};
    this.found = L.featureGroup().addTo(map);
    this.lines = [];
    var self = this, control = L.control({position: 'topleft'});
    control.onAdd = function () {
      var panel = element('div', 'atlas-panel'), form = element('form', 'atlas-search');
      self.input = element('input');
      self.input.type = 'search';
      self.input.placeholder = 'AM 1969, Qu. AM 1969, \u00e4j 11 55, AM19, AM or 56.73,-14.08';
      self.input.setAttribute('aria-label', 'Grid code or position');
      var go = element('button', '', 'Look up');
      go.type = 'submit';
      self.copy = element('button', 'atlas-copy', 'Copy');
      self.copy.type = 'button';
      self.copy.disabled = true;
      form.appendChild(self.input);
      form.appendChild(go);
      form.appendChild(self.copy);
      self.results = element('div', 'atlas-results');
      self.results.id = 'atlas-results';
      panel.appendChild(form);
      panel.appendChild(self.results);
      form.addEventListener('submit', function (e) {
        e.preventDefault();
        self.search(self.input.value);
      });
      self.copy.addEventListener('click', function () { copyText(self.lines.join('\n')); });
      L.DomEvent.disableClickPropagation(panel);
      L.DomEvent.disableScrollPropagation(panel);
      return panel;
    };
    control.addTo(map);
    map.on('click', function (e) {
      var lon = wrap(e.latlng.lng);
      self.point(e.latlng.lat.toFixed(5) + ',' + lon.toFixed(5), e.latlng.lng);
    });
  }

  // A text is a position when it starts as a number does (several
  // separated by semicolons); else codes, separated by commas; at most
  // MAX_LOOKUPS of them.  jump: go there at once instead of flying (the
  // page opening on a fragment).
  Lookup.prototype.search = function (text, jump) {
    var t0 = performance.now(), trimmed = text.trim();
    this.jump = jump;
    if (/^[-+.\d]/.test(trimmed)) this.points(trimmed.split(';').slice(0, MAX_LOOKUPS));
    else this.codes(trimmed.split(',').slice(0, MAX_LOOKUPS));
    this.lastMs = performance.now() - t0;
  };

  // Draws a box [south, west, north, east] moved by shift degrees.
  Lookup.prototype.drawBox = function (box, shift, style) {
    var shape = L.rectangle([[box[0], box[1] + shift], [box[2], box[3] + shift]], style);
    this.found.addLayer(shape);
    return shape;
  };

  // Draws a code's large square, cell and small square where the code's
  // own square is drawn nearest to `near`, and returns that square's
  // centre; the map later flies to the code's own square.
  Lookup.prototype.drawSquares = function (squares, near) {
    // Only boxes on the globe (a data file may put a square off it).
    squares = squares.filter(function (box) {
      return box.every(function (v) { return typeof v === 'number' && isFinite(v); }) &&
             Math.abs(box[0]) <= 90 && Math.abs(box[2]) <= 90;
    });
    if (!squares.length) return near;
    var self = this, weights = [2.5, 2, 1.5], own = squares[squares.length - 1];
    var centre = (own[1] + own[3]) / 2, lat = (own[0] + own[2]) / 2, drawn = this.drawn;
    var shift = shiftToward(centre, near, this.turns, drawn && function (lon) { return drawn(lat, lon); });
    squares.forEach(function (box, i) {
      var last = i === squares.length - 1;
      var shape = self.drawBox(box, shift, {color: FOUND, weight: weights[i] || 1.5, fill: last, fillOpacity: 0.25,
                                           interactive: false, dashArray: last ? null : '6 4'});
      if (last) self.target.extend(shape.getBounds());
    });
    return centre + shift;
  };

  Lookup.prototype.show = function (nodes, lines, state) {
    this.results.textContent = '';
    var self = this;
    nodes.forEach(function (n) { self.results.appendChild(n); });
    this.lines = lines;
    this.copy.disabled = !lines.length;
    this.onState(state);
  };

  // Looks codes up, shows them and flies to them.
  Lookup.prototype.codes = function (texts) {
    var self = this, nodes = [], lines = [], state = [], near = this.map.getCenter().lng;
    this.found.clearLayers();
    this.target = L.latLngBounds([]);
    texts.forEach(function (text) {
      if (!text.trim()) return;
      var answer = self.core.convert(text), r = answer.result;
      nodes.push(resultTable(r));
      lines.push(r.line);
      state.push(r.code);
      if (r.message === undefined) near = self.drawSquares(answer.squares, near);
    });
    this.show(nodes, lines, state.join(','));
    this.fly();
  };

  // Finds the codes of positions (texts as the tools read them).
  Lookup.prototype.points = function (texts, clickedLng) {
    var self = this, nodes = [], lines = [], state = [];
    this.found.clearLayers();
    this.target = L.latLngBounds([]);
    texts.forEach(function (text) {
      if (!text.trim()) return;
      var answer = self.core.reverse(text.trim());
      var near = clickedLng !== undefined ? clickedLng : self.map.getCenter().lng;
      var box = element('section', 'atlas-point');
      box.appendChild(element('div', 'atlas-result-title', 'Position ' + answer.input));
      state.push(answer.input);
      if (answer.latitude !== undefined) {
        var texts3 = element('table');
        [['Position', answer.latitude + ' ' + answer.longitude, 'position'],
         ['Decimal', answer.latitude_decimal + ' ' + answer.longitude_decimal, 'position_decimal'],
         ['DMS', answer.latitude_dms + ' ' + answer.longitude_dms, 'position_dms']].forEach(function (t) {
          var tr = texts3.insertRow(), th = element('th', '', t[0]), td = tr.insertCell();
          tr.insertBefore(th, td);
          td.textContent = t[1];
          td.setAttribute('data-field', t[2]);
        });
        box.appendChild(texts3);
        var lon = answer.lon + shiftToward(answer.lon, near, self.turns, clickedLng === undefined && function (x) {
          return self.drawn(answer.lat, x);
        });
        near = lon;
        self.found.addLayer(L.circleMarker([answer.lat, lon], {radius: 5, color: '#6b0000', weight: 1,
                                                               fillColor: FOUND, fillOpacity: 0.9}));
        self.target.extend([answer.lat, lon]);
      }
      if (answer.message !== undefined) {
        var message = element('div', 'atlas-message', answer.message);
        message.setAttribute('data-field', 'message');
        box.appendChild(message);
      }
      var codes = element('div', 'atlas-codes');
      codes.setAttribute('data-field', 'codes');
      codes.textContent = answer.codes.map(function (c) { return c.result.code; }).join(' ');
      box.appendChild(codes);
      nodes.push(box);
      answer.codes.forEach(function (c) {
        nodes.push(resultTable(c.result, self.core.grids[c.grid] ? self.core.grids[c.grid].name : ''));
        lines.push(c.result.line);
        if (c.result.message === undefined) self.drawSquares(c.squares, near);
      });
    });
    this.show(nodes, lines, state.join(';'));
    if (clickedLng === undefined) this.fly();
  };

  Lookup.prototype.point = function (text, clickedLng) {
    this.input.value = text;
    this.points([text], clickedLng);
  };

  // Flies to what was found, without leaving the zoom of a small square.
  Lookup.prototype.fly = function () {
    if (!this.target.isValid()) return;
    var options = {padding: [60, 60], maxZoom: 11};
    if (this.jump) this.map.fitBounds(this.target, L.extend(options, {animate: false}));
    else this.map.flyToBounds(this.target, L.extend(options, {duration: 0.6}));
  };

  // ---- The page ------------------------------------------------------------

  // The state of the URL fragment: codes separated by commas, or positions
  // (decimal degrees, north and east positive) separated by semicolons.
  function fragmentText() {
    try {
      return decodeURIComponent(location.hash.replace(/^#/, ''));
    } catch (e) {
      return location.hash.replace(/^#/, '');
    }
  }

  // Adds the atlas's lookups to a Leaflet map: compiles the core, loads the
  // grid files ([{name, data: base64}]) through the tools' loader, adds a
  // layer of each grid, the search box with its result panel, the click
  // lookup and, unless options say graticule: false, readout: false or
  // squares: false (a page that has them already), the graticule, the
  // pointer readout and the large squares.  Resolves to {core, lookup,
  // layers (the overlays by name), turns, failures (the files that did not
  // load)}.  The map page takes its search box and grid layers from here.
  // The pointer readout's texts, from the core: as orvanta-convert writes
  // a position, then its decimals.
  function positionTexts(core) {
    return function (lat, lon) {
      var t = core.position(lat, lon);
      return t.latitude + ' ' + t.longitude + '  (' + t.latitude_decimal + ', ' + t.longitude_decimal + ')';
    };
  }

  function attach(map, grids, options) {
    options = options || {};
    var renderer = options.renderer || L.canvas({padding: 0.2});
    return OrvantaCore().then(function (module) {
      var core = new Core(module), failures = [], drawn = [], overlays = {};
      grids.forEach(function (g) {
        var answer = core.addGrid(g.name, g.data);
        if (!answer.ok) failures.push(answer.message);
      });
      var turns = [0];
      core.grids.forEach(function (g) { if (gridTurn(g) && turns.indexOf(360) < 0) turns.push(360); });
      if (options.graticule !== false) overlays['Graticule'] = P.graticuleLayer().addTo(map);
      var gridLayers = core.grids.map(function (g) {
        var layer = new GridLayer(map, g, renderer, options.squares);
        layer.group.addTo(map);
        overlays[layerLabel(overlays, 'Grid: ' + g.name)] = layer.group;
        drawn.push(layer);
        return layer;
      });
      if (options.readout !== false) P.readoutControl(map, positionTexts(core)).addTo(map);
      var redraw = function () { drawn.forEach(function (l) { l.draw(); }); };
      map.on('moveend zoomend overlayadd', redraw);
      var lookup = new Lookup(map, core, turns.slice(1), options.onState);
      lookup.drawn = function (lat, lon) {
        return gridLayers.some(function (layer) {
          return layer.boxes.some(function (b) {
            return b.south <= lat && lat <= b.north && b.west <= lon && lon <= b.east;
          });
        });
      };
      if (failures.length) lookup.results.appendChild(element('div', 'atlas-message', failures.join('\n')));
      redraw();
      return {core: core, lookup: lookup, layers: overlays, gridLayers: gridLayers, turns: turns, redraw: redraw,
              failures: failures};
    });
  }

  // Builds the whole atlas page into the body from the data that gridtool
  // wrote: the coastline and the grid files; the URL fragment holds what
  // is looked up.
  function start(data) {
    var started = performance.now();
    var holder = element('div');
    holder.id = 'map';
    document.body.appendChild(holder);
    var map = L.map(holder, {zoomSnap: 0.5, worldCopyJump: false, minZoom: 1, maxZoom: 14}).setView([30, -20], 2);
    map.attributionControl.addAttribution('Coastline: GSHHG (LGPL-3+)');
    var renderer = L.canvas({padding: 0.2});
    var atlas = {map: map, ready: false}, writing = '';
    window.orvantaAtlas = atlas;
    var onState = function (state) {
      writing = state;
      if (fragmentText() !== state) history.replaceState(null, '', '#' + encodeURIComponent(state)
        .replace(/%2C/g, ',').replace(/%3B/g, ';'));
    };
    return attach(map, data.grids, {renderer: renderer, onState: onState}).then(function (parts) {
      var coast = P.coastlineLayer(data.coast).addTo(map);
      L.control.layers({'Coastline (GSHHG)': coast}, parts.layers, {collapsed: false}).addTo(map);
      L.control.scale().addTo(map);
      var lookup = parts.lookup;
      var fromFragment = function () {
        var text = fragmentText();
        if (!text || text === writing) return;
        lookup.input.value = text;
        lookup.search(text, true);
      };
      window.addEventListener('hashchange', fromFragment);
      // Without a lookup to show, the page opens on the whole of its grids.
      var whole = L.latLngBounds([]);
      parts.gridLayers.forEach(function (layer) {
        layer.boxes.forEach(function (b) { whole.extend([[b.south, b.west], [b.north, b.east]]); });
      });
      if (whole.isValid()) map.fitBounds(whole, {animate: false});
      fromFragment();
      parts.redraw();
      atlas.core = parts.core;
      atlas.lookup = lookup;
      atlas.gridLayers = parts.gridLayers;
      atlas.redraw = parts.redraw;
      atlas.readyMs = performance.now() - started;
      atlas.readyAt = performance.now();
      atlas.ready = true;
      document.body.setAttribute('data-ready', 'yes');
      return atlas;
    });
  }

  return {Core: Core, Lookup: Lookup, GridLayer: GridLayer, positionTexts: positionTexts, attach: attach,
          start: start};
}());

if (typeof orvantaAtlasData !== 'undefined') OrvantaAtlas.start(orvantaAtlasData);
