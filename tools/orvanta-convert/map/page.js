// The map page of orvanta-convert: the features that the tool wrote above
// (the coastline and squares into `orvanta`, the features as JSON into the
// element orvanta-features, the tables of names and values into
// orvanta.schemas and orvanta.strings) over the pieces of orvantaPieces.
// Everything is drawn on canvases, one layer per kind of shape, so that a
// page of a million codes opens; no array is ever spread into a call's
// arguments.  Where the tool carried the atlas (its core, script and the
// run's grid files in orvanta.grids), the atlas's search box, click lookup
// and cell layers come above the rows once the core has compiled, and the
// pointer readout takes its texts from the core.
(function () {
  'use strict';
  var started = performance.now();

  var P = window.orvantaPieces, WORLD = P.WORLD, projectX = P.projectX, projectY = P.projectY;
  var unprojectX = P.unprojectX, unprojectY = P.unprojectY, worldCopies = P.worldCopies, mapView = P.mapView;
  var FEATURE = '#d7191c', FEATURE_EDGE = '#6b0000', RADIUS = 5, LISTED = 50;

  // ---- The features.  A record is [names, 0, code, values...] without a
  // position, [names, 1, lat, lon, texts, values...] for a point and
  // [names, 2, lat, lon, texts, rings, values...] for an area, each ring a
  // box [south, west, north, east] or [lat, lon, lat, lon, ...]; names is
  // a number in the table of names or the list itself, a value a number in
  // the table of strings or the text itself.
  function readFeatures(data, turn) {
    var records = data.features, pointCount = 0, ringCount = 0;
    function shifted(lon) { return turn && lon < 0 ? lon + 360 : lon; }
    records.forEach(function (r) {
      if (r[1] === 1) ++pointCount;
      else if (r[1] === 2) ringCount += r[5].length;
    });
    var f = {records: records, points: new Int32Array(pointCount), px: new Float64Array(pointCount),
             py: new Float64Array(pointCount), rings: new Int32Array(ringCount),
             boxes: new Float64Array(4 * ringCount), polygons: {}, unplaced: [],
             bounds: [Infinity, Infinity, -Infinity, -Infinity]};
    var p = 0, q = 0, bounds = f.bounds;
    function extend(x, y) {
      if (x < bounds[0]) bounds[0] = x;
      if (x > bounds[2]) bounds[2] = x;
      if (y < bounds[1]) bounds[1] = y;
      if (y > bounds[3]) bounds[3] = y;
    }
    records.forEach(function (r, i) {
      if (r[1] === 1) {
        f.points[p] = i;
        f.px[p] = projectX(shifted(r[3]));
        f.py[p] = projectY(r[2]);
        extend(f.px[p], f.py[p]);
        ++p;
      } else if (r[1] === 2) {
        r[5].forEach(function (ring) {
          var box = [Infinity, Infinity, -Infinity, -Infinity], lat, lon, k;
          if (ring.length === 4) {
            var turnBox = turn && ring[3] <= 0 ? 360 : 0;
            box = [projectX(ring[1] + turnBox), projectY(ring[2]), projectX(ring[3] + turnBox), projectY(ring[0])];
          } else {
            var west = true, some = false;
            for (k = 1; k < ring.length; k += 2) { west = west && ring[k] <= 0; some = some || ring[k] < 0; }
            var turnRing = turn && west && some ? 360 : 0, projected = new Float64Array(ring.length);
            for (k = 0; k + 1 < ring.length; k += 2) {
              lat = ring[k]; lon = ring[k + 1] + turnRing;
              projected[k] = projectX(lon);
              projected[k + 1] = projectY(lat);
              box[0] = Math.min(box[0], projected[k]); box[2] = Math.max(box[2], projected[k]);
              box[1] = Math.min(box[1], projected[k + 1]); box[3] = Math.max(box[3], projected[k + 1]);
            }
            f.polygons[q] = projected;
          }
          f.rings[q] = i;
          for (k = 0; k < 4; ++k) f.boxes[4 * q + k] = box[k];
          extend(box[0], box[1]);
          extend(box[2], box[3]);
          ++q;
        });
      } else {
        f.unplaced.push(i);
      }
    });
    f.value = function (v) {
      if (typeof v !== 'number') return String(v);
      var text = data.strings[v];
      return text === undefined ? String(v) : text;
    };
    // The record's properties as [name, value] pairs.
    f.properties = function (i) {
      var r = records[i], names = typeof r[0] === 'number' ? data.schemas[r[0]] || [] : r[0];
      var first = r[1] === 0 ? 3 : r[1] === 1 ? 5 : 6, out = [];
      for (var k = 0; k < names.length && first + k < r.length; ++k)
        out.push([String(names[k]), f.value(r[first + k])]);
      return out;
    };
    return f;
  }

  // Points as dots, at most one dot to each pair of pixels.
  function pointsLayer(f) {
    return new P.CanvasLayer(function (context, view) {
      var s = view.scale, w = view.width, h = view.height, cellsX = (w >> 1) + 1;
      var taken = new Uint8Array(cellsX * ((h >> 1) + 1)), pending = 0, copies = worldCopies(view);
      context.fillStyle = FEATURE;
      context.strokeStyle = FEATURE_EDGE;
      context.lineWidth = 1;
      context.beginPath();
      for (var c = 0, i = 0; c < copies.length; ++c, i = 0)
      for (; i < f.px.length; ++i) {
        var x = (f.px[i] + copies[c]) * s - view.x0, y = f.py[i] * s - view.y0;
        if (x < -RADIUS || y < -RADIUS || x > w + RADIUS || y > h + RADIUS) continue;
        var cx = Math.max(0, Math.min(w, x)) >> 1, cy = Math.max(0, Math.min(h, y)) >> 1;
        if (taken[cy * cellsX + cx]) continue;
        taken[cy * cellsX + cx] = 1;
        context.moveTo(x + RADIUS, y);
        context.arc(x, y, RADIUS, 0, 2 * Math.PI);
        if (++pending === 5000) {
          context.fill(); context.stroke(); context.beginPath(); pending = 0;
        }
      }
      context.fill();
      context.stroke();
    });
  }

  // Areas as outlined, lightly filled shapes, each different one once.
  function areasLayer(f) {
    return new P.CanvasLayer(function (context, view) {
      var s = view.scale, w = view.width, h = view.height, seen = new Set(), pending = 0, copies = worldCopies(view);
      context.fillStyle = 'rgba(215, 25, 28, 0.25)';
      context.strokeStyle = FEATURE;
      context.lineWidth = 2;
      function flush() { context.fill(); context.stroke(); context.beginPath(); pending = 0; }
      context.beginPath();
      for (var c = 0, q = 0; c < copies.length; ++c, q = 0)
      for (; q < f.rings.length; ++q) {
        var b = f.boxes, dx = copies[c] * s + view.x0, x0 = b[4 * q] * s - dx, y0 = b[4 * q + 1] * s - view.y0;
        var x1 = b[4 * q + 2] * s - dx, y1 = b[4 * q + 3] * s - view.y0;
        if (x1 < 0 || y1 < 0 || x0 > w || y0 > h) continue;
        var key = Math.round(x0) + ',' + Math.round(y0) + ',' + Math.round(x1) + ',' + Math.round(y1);
        if (seen.has(key)) continue;
        seen.add(key);
        var polygon = f.polygons[q];
        if (polygon) {
          context.moveTo(polygon[0] * s - dx, polygon[1] * s - view.y0);
          for (var k = 2; k + 1 < polygon.length; k += 2)
            context.lineTo(polygon[k] * s - dx, polygon[k + 1] * s - view.y0);
          context.closePath();
        } else {
          context.rect(x0, y0, Math.max(x1 - x0, 2), Math.max(y1 - y0, 2));
        }
        if (++pending === 5000) flush();
      }
      flush();
    });
  }

  // The record under a container point, of the layers shown, and the
  // offset of the world's copy where it lies: the nearest point within
  // reach, else the smallest area that holds it; null for none.
  function recordAt(f, view, at, withPoints, withAreas) {
    var s = view.scale, copies = worldCopies(view), best = null, reach = (RADIUS + 3) * (RADIUS + 3), c, i;
    for (c = 0; withPoints && c < copies.length; ++c) {
      for (i = 0; i < f.px.length; ++i) {
        var dx = (f.px[i] + copies[c]) * s - view.x0 - at.x, dy = f.py[i] * s - view.y0 - at.y, d = dx * dx + dy * dy;
        if (d <= reach) { reach = d; best = {index: f.points[i], copy: copies[c]}; }
      }
    }
    if (best) return best;
    var Y = (at.y + view.y0) / s, smallest = Infinity, b = f.boxes;
    for (c = 0; withAreas && c < copies.length; ++c) {
      var X = (at.x + view.x0) / s - copies[c];
      for (var q = 0; q < f.rings.length; ++q) {
        if (X < b[4 * q] || X > b[4 * q + 2] || Y < b[4 * q + 1] || Y > b[4 * q + 3]) continue;
        var polygon = f.polygons[q];
        if (polygon && !inside(polygon, X, Y)) continue;
        var area = (b[4 * q + 2] - b[4 * q]) * (b[4 * q + 3] - b[4 * q + 1]);
        if (area < smallest) { smallest = area; best = {index: f.rings[q], copy: copies[c]}; }
      }
    }
    return best;
  }
  function inside(polygon, x, y) {
    var odd = false;
    for (var i = 0, j = polygon.length - 2; i + 1 < polygon.length; j = i, i += 2) {
      var xi = polygon[i], yi = polygon[i + 1], xj = polygon[j], yj = polygon[j + 1];
      if ((yi > y) !== (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) odd = !odd;
    }
    return odd;
  }

  // Every record at the same place as record i (the same point, or the
  // same centre and rings), in order.
  function recordsWith(f, i) {
    var r = f.records[i], same = [];
    var ringsText = r[1] === 2 ? JSON.stringify(r[5]) : '';
    f.records.forEach(function (o, k) {
      if (o[1] === r[1] && o[2] === r[2] && o[3] === r[3] && (r[1] !== 2 || JSON.stringify(o[5]) === ringsText))
        same.push(k);
    });
    return same;
  }

  // A pop-up of the rows at one place: the position as the program writes
  // it beside the decimals, then each row's properties, built as text
  // nodes so that no property is read as markup.
  function popupContent(f, rows) {
    var box = document.createElement('div'), r = f.records[rows[0]];
    box.className = 'orvanta-popup';
    var head = document.createElement('div');
    head.className = 'orvanta-position';
    head.textContent = f.value(r[4]) + '  (' + r[2] + ', ' + r[3] + ')';
    box.appendChild(head);
    if (rows.length > 1) {
      var count = document.createElement('div');
      count.className = 'orvanta-count';
      count.textContent = rows.length + ' rows here';
      box.appendChild(count);
    }
    rows.slice(0, LISTED).forEach(function (i) {
      var table = document.createElement('table');
      if (rows.length > 1) table.createCaption().textContent = 'row ' + (i + 1);
      f.properties(i).forEach(function (property) {
        var row = table.insertRow(), name = document.createElement('th'), value = row.insertCell();
        name.textContent = property[0];
        value.textContent = property[1];
        row.insertBefore(name, value);
      });
      box.appendChild(table);
    });
    if (rows.length > LISTED) {
      var more = document.createElement('div');
      more.textContent = 'and ' + (rows.length - LISTED) + ' more';
      box.appendChild(more);
    }
    return box;
  }

  // A box listing the rows that have no position: each row's number, its
  // code cell and why it failed.
  function unplacedControl(f) {
    if (!f.unplaced.length) return null;
    var control = L.control({position: 'bottomleft'});
    control.onAdd = function () {
      var box = L.DomUtil.create('div', 'orvanta-unplaced'), list = document.createElement('ul');
      box.appendChild(document.createTextNode(f.unplaced.length + ' without a position:'));
      f.unplaced.slice(0, LISTED).forEach(function (i) {
        var item = document.createElement('li'), code = f.value(f.records[i][2]), message = '';
        f.properties(i).forEach(function (p) { if (p[0] === 'message') message = p[1]; });
        item.textContent = 'row ' + (i + 1) + ': ' + (code === '' ? '(empty)' : code) +
                           (message ? ' \u2013 ' + message : '');
        list.appendChild(item);
      });
      if (f.unplaced.length > LISTED) {
        var more = document.createElement('li');
        more.textContent = 'and ' + (f.unplaced.length - LISTED) + ' more';
        list.appendChild(more);
      }
      box.appendChild(list);
      L.DomEvent.disableScrollPropagation(box);
      L.DomEvent.disableClickPropagation(box);
      return box;
    };
    return control;
  }

  // Longitudes come in -180..180.  When the features (else the squares)
  // lie closer together counted 0..360, or as close but nearer the 180th
  // meridian than Greenwich (a Pacific grid), western longitudes move on by
  // a turn so that what lies across the 180th meridian is drawn in one piece.
  function pacificFrame(data) {
    var low = Infinity, high = -Infinity, lowTurned = Infinity, highTurned = -Infinity, sum = 0, count = 0;
    function add(lon) {
      var turned = lon < 0 ? lon + 360 : lon;
      low = Math.min(low, lon); high = Math.max(high, lon);
      lowTurned = Math.min(lowTurned, turned); highTurned = Math.max(highTurned, turned);
      sum += Math.abs(lon);
      ++count;
    }
    data.features.forEach(function (r) {
      if (r[1] === 1) add(r[3]);
      else if (r[1] === 2) r[5].forEach(function (ring) { add(ring[1]); });
    });
    if (!count) data.squares.forEach(function (s) { s[2].forEach(function (b) { add(b[1]); add(b[3]); }); });
    if (!count) return false;
    // Spans within a metre count as equal: adding a turn rounds.
    var span = high - low, spanTurned = highTurned - lowTurned;
    return spanTurned < span - 1e-5 || (Math.abs(spanTurned - span) <= 1e-5 && sum / count > 90);
  }

  function turnSquares(squares) {
    squares.forEach(function (s) {
      s[2].forEach(function (b) { if (b[3] <= 0) { b[1] += 360; b[3] += 360; } });
    });
  }

  // The features come as JSON in an element of their own, dropped once read.
  var data = window.orvanta, json = document.getElementById('orvanta-features');
  data.features = JSON.parse(json.textContent);
  json.parentNode.removeChild(json);
  var turn = pacificFrame(data);
  if (turn) turnSquares(data.squares);
  var f = readFeatures(data, turn), labels = [], read = performance.now();
  var map = L.map('map', {zoomSnap: 0.5, worldCopyJump: false});
  map.attributionControl.addAttribution('Coastline: GSHHG (LGPL-3+)');
  var coast = P.coastlineLayer(data.coast), graticule = P.graticuleLayer();
  var squares = P.squaresLayer(data.squares, labels);
  var areas = areasLayer(f), points = pointsLayer(f);
  var overlays = {'Coastline (GSHHG)': coast, 'Graticule': graticule, 'Large squares': squares};
  if (f.rings.length) overlays.Squares = areas;
  if (f.px.length) overlays.Points = points;
  var layers = L.control.layers(null, overlays, {collapsed: false}).addTo(map);
  L.control.scale().addTo(map);
  var readout = P.readoutControl(map).addTo(map);
  var unplaced = unplacedControl(f);
  if (unplaced) unplaced.addTo(map);

  // Opens on the features, else the grid, else the world.
  function latLngBox(b) {
    return L.latLngBounds([unprojectY(b[3]), unprojectX(b[0])], [unprojectY(b[1]), unprojectX(b[2])]);
  }
  var b = f.bounds;
  if (!(b[0] <= b[2])) {
    data.squares.forEach(function (s) {
      s[2].forEach(function (box) {
        b[0] = Math.min(b[0], projectX(box[1])); b[2] = Math.max(b[2], projectX(box[3]));
        b[1] = Math.min(b[1], projectY(box[2])); b[3] = Math.max(b[3], projectY(box[0]));
      });
    });
  }
  if (!(b[0] <= b[2])) map.setView([30, 0], 2);
  else if (b[0] === b[2] && b[1] === b[3]) map.setView([unprojectY(b[1]), unprojectX(b[0])], 7);
  else map.fitBounds(latLngBox(b), {padding: [30, 30], maxZoom: 9});
  for (var name in overlays) if (overlays.hasOwnProperty(name)) overlays[name].addTo(map);

  map.on('click', function (e) {
    var hit = recordAt(f, mapView(map), map.latLngToContainerPoint(e.latlng), map.hasLayer(points),
                       map.hasLayer(areas));
    if (!hit) return;
    var r = f.records[hit.index], lon = (turn && r[3] < 0 ? r[3] + 360 : r[3]) + hit.copy / WORLD * 360;
    L.popup({maxHeight: 300, maxWidth: 420}).setLatLng([r[2], lon])
      .setContent(popupContent(f, recordsWith(f, hit.index))).openOn(map);
  });

  // What the page shows, for tests and benchmarks.
  window.orvantaMap = map;
  var page = window.orvantaPage = {
    started: started,
    read: read,
    drawn: performance.now(),
    labels: labels,
    layers: {coast: coast, graticule: graticule, squares: squares, areas: areas, points: points},
    placed: function () {
      var out = [], view = mapView(map);
      f.records.forEach(function (r, i) {
        if (!r[1]) return;
        var lon = turn && r[3] < 0 ? r[3] + 360 : r[3];
        out.push({kind: r[1] === 1 ? 'point' : 'area', lat: r[2], lng: r[3], rings: r[1] === 2 ? r[5] : null,
                  x: projectX(lon) * view.scale - view.x0, y: projectY(r[2]) * view.scale - view.y0,
                  properties: f.properties(i)});
      });
      return out;
    }
  };

  // The atlas's lookups, over the page's own coastline, graticule and
  // large squares; page.atlas once they are there.
  if (data.grids && window.OrvantaAtlas && typeof OrvantaCore === 'function') {
    OrvantaAtlas.attach(map, data.grids, {graticule: false, readout: false, squares: false}).then(function (parts) {
      readout.texts = OrvantaAtlas.positionTexts(parts.core);
      for (var name in parts.layers) if (parts.layers.hasOwnProperty(name)) layers.addOverlay(parts.layers[name], name);
      page.atlas = parts;
      document.body.setAttribute('data-atlas', 'ready');
    }, function (error) {
      // A browser that runs no WebAssembly keeps the page without them.
      console.warn('The search box is left out: ' + error);
    });
  }
}());
