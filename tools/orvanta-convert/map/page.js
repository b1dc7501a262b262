// The map page of orvanta-convert: draws the coastline, a graticule, the
// grid's large squares and the features that the tool wrote above (the
// coastline and squares into `orvanta`, the features as JSON into the
// element orvanta-features, the tables of names and values into
// orvanta.schemas and orvanta.strings).  Everything is drawn on canvases,
// one layer per kind of shape, so that a page of a million codes opens; no
// array is ever spread into a call's arguments.  The coastline, graticule
// and readout pieces stand on their own (orvantaPieces) for other pages.
(function () {
  'use strict';
  var started = performance.now();

  var SEA_LINE = '#5b4a2f', GRATICULE = 'rgba(60, 60, 60, 0.35)', SQUARE_LINE = '#1f3f6e',
      FEATURE = '#d7191c', FEATURE_EDGE = '#6b0000', RADIUS = 5, LISTED = 50;
  var WORLD = 256;   // the width of the world in pixels at zoom 0

  // ---- Projection: Leaflet's spherical Mercator at zoom 0, so that a
  // point's pixel at zoom z is its zoom-0 pixel times 2^z.
  var MAX_LAT = 85.0511287798;
  function projectX(lon) { return (lon + 180) / 360 * WORLD; }
  function projectY(lat) {
    var s = Math.sin(Math.max(-MAX_LAT, Math.min(MAX_LAT, lat)) * Math.PI / 180);
    return WORLD / 2 - WORLD / (4 * Math.PI) * Math.log((1 + s) / (1 - s));
  }
  function unprojectX(x) { return x / WORLD * 360 - 180; }
  function unprojectY(y) {
    return (2 * Math.atan(Math.exp((WORLD / 2 - y) * 2 * Math.PI / WORLD)) - Math.PI / 2) * 180 / Math.PI;
  }

  // The offsets (zoom-0 pixels, whole turns) of the copies of the world
  // that the view shows, with one more on either side for what the data
  // holds past the 180th meridian; at most a few.
  function worldCopies(view) {
    var first = Math.floor(view.x0 / view.scale / WORLD) - 1;
    var last = Math.min(Math.floor((view.x0 + view.width) / view.scale / WORLD) + 1, first + 6), out = [];
    for (var k = first; k <= last; ++k) out.push(k * WORLD);
    return out;
  }

  // ---- A canvas over the map that a draw function fills: draw(context,
  // view) with view = {scale, x0, y0, width, height}; a zoom-0 pixel (x, y)
  // lies at (x * scale - x0, y * scale - y0) on the canvas, counted in CSS
  // pixels (the canvas has as many as the screen shows).
  function mapView(map) {
    var size = map.getSize(), corner = map.containerPointToLayerPoint([0, 0]), origin = map.getPixelOrigin();
    return {scale: map.getZoomScale(map.getZoom(), 0), x0: origin.x + corner.x, y0: origin.y + corner.y,
            width: size.x, height: size.y, corner: corner};
  }
  var CanvasLayer = L.Layer.extend({
    initialize: function (draw) { this._draw = draw; },
    onAdd: function (map) {
      this._canvas = L.DomUtil.create('canvas', 'orvanta-canvas leaflet-zoom-animated');
      this.getPane().appendChild(this._canvas);
      this.redraw();
    },
    onRemove: function () { L.DomUtil.remove(this._canvas); },
    getEvents: function () {
      return {moveend: this.redraw, resize: this.redraw, zoomanim: this._animateZoom};
    },
    redraw: function () {
      if (!this._map) return this;
      var view = mapView(this._map), canvas = this._canvas;
      var ratio = window.devicePixelRatio || 1;
      L.DomUtil.setPosition(canvas, view.corner);
      canvas.width = Math.round(view.width * ratio);
      canvas.height = Math.round(view.height * ratio);
      canvas.style.width = view.width + 'px';
      canvas.style.height = view.height + 'px';
      var context = canvas.getContext('2d');
      context.setTransform(ratio, 0, 0, ratio, 0, 0);
      context.clearRect(0, 0, view.width, view.height);
      this._draw(context, view);
      return this;
    },
    _animateZoom: function (e) {
      var map = this._map, scale = map.getZoomScale(e.zoom);
      L.DomUtil.setTransform(this._canvas, map._latLngBoundsToNewLayerBounds(map.getBounds(), e.zoom, e.center).min,
                             scale);
    }
  });

  // ---- Position texts as the program writes them: 56°45.00 N 14°0.00 W.
  function degreesMinutes(value, positive, negative) {
    var hundredths = Math.round(Math.abs(value) * 6000), degrees = Math.floor(hundredths / 6000);
    var minutes = (hundredths - degrees * 6000) / 100;
    return degrees + '\u00b0' + minutes.toFixed(2) + ' ' + (value < 0 ? negative : positive);
  }
  function normalLon(lon) { return lon > 180 ? lon - 360 : lon < -180 ? lon + 360 : lon; }
  function positionText(lat, lon) {
    lon = normalLon(lon);
    return degreesMinutes(lat, 'N', 'S') + ' ' + degreesMinutes(lon, 'E', 'W') +
           '  (' + lat.toFixed(5) + ', ' + lon.toFixed(5) + ')';
  }

  // ---- The coastline: levels of lines, each level drawn from its zoom
  // on; a line is a polyline-encoded text in hundredths of a degree.
  function decodeLine(text) {
    var values = [], value = 0, shift = 0;
    for (var i = 0; i < text.length; ++i) {
      var bits = text.charCodeAt(i) - 63;
      value |= (bits & 0x1f) << shift;
      shift += 5;
      if (bits < 0x20) {
        values.push(value & 1 ? ~(value >> 1) : value >> 1);
        value = shift = 0;
      }
    }
    var points = new Float64Array(values.length), lon = 0, lat = 0;
    for (var k = 0; k + 1 < values.length; k += 2) {
      lon += values[k];
      lat += values[k + 1];
      points[k] = projectX(lon / 100);
      points[k + 1] = projectY(lat / 100);
    }
    return points;
  }

  function coastlineLayer(levels) {
    var decoded = [];
    function level(zoom) {
      var chosen = 0;
      for (var i = 0; i < levels.length; ++i) if (levels[i].zoom <= zoom) chosen = i;
      if (!decoded[chosen]) {
        decoded[chosen] = levels[chosen].lines.map(function (text) {
          var points = decodeLine(text), box = [Infinity, Infinity, -Infinity, -Infinity];
          for (var k = 0; k + 1 < points.length; k += 2) {
            box[0] = Math.min(box[0], points[k]); box[2] = Math.max(box[2], points[k]);
            box[1] = Math.min(box[1], points[k + 1]); box[3] = Math.max(box[3], points[k + 1]);
          }
          return {points: points, box: box};
        });
      }
      return decoded[chosen];
    }
    return new CanvasLayer(function (context, view) {
      var lines = level(Math.log(view.scale) / Math.LN2), s = view.scale, copies = worldCopies(view);
      context.strokeStyle = SEA_LINE;
      context.lineWidth = 1;
      context.beginPath();
      copies.forEach(function (dx) {
        var left = view.x0 / s - dx, top = view.y0 / s, right = left + view.width / s, bottom = top + view.height / s;
        lines.forEach(function (line) {
          var b = line.box, p = line.points;
          if (b[2] < left || b[0] > right || b[3] < top || b[1] > bottom) return;
          context.moveTo((p[0] + dx) * s - view.x0, p[1] * s - view.y0);
          for (var k = 2; k + 1 < p.length; k += 2) context.lineTo((p[k] + dx) * s - view.x0, p[k + 1] * s - view.y0);
        });
      });
      context.stroke();
    });
  }

  // ---- The graticule: lines of latitude and longitude at the finest
  // step (degrees, then minutes) that keeps them some 90 pixels apart,
  // labelled at the left and top edges.
  var CORNER = 50;   // the zoom buttons' corner, where no label goes
  var STEPS = [90, 45, 30, 20, 10, 5, 2, 1, 30 / 60, 20 / 60, 10 / 60, 5 / 60, 2 / 60, 1 / 60, 0.5 / 60, 0.2 / 60];
  function graticuleStep(pixelsPerDegree) {
    var step = STEPS[0];
    for (var i = 0; i < STEPS.length && STEPS[i] * pixelsPerDegree >= 90; ++i) step = STEPS[i];
    return step;
  }
  function graticuleLabel(value, step, positive, negative) {
    var minutes = Math.round(Math.abs(value) * 60 * 10) / 10, degrees = Math.floor(minutes / 60 + 1e-9);
    var rest = Math.round((minutes - degrees * 60) * 10) / 10;
    var hemisphere = value > 0 ? positive : value < 0 ? negative : '';
    return degrees + '\u00b0' + (step < 1 ? rest + '\u2032' : '') + hemisphere;
  }
  function graticuleLayer() {
    return new CanvasLayer(function (context, view) {
      var s = view.scale, step = this.step = graticuleStep(s * WORLD / 360);
      var west = unprojectX(view.x0 / s), east = unprojectX((view.x0 + view.width) / s);
      var north = unprojectY(view.y0 / s), south = unprojectY((view.y0 + view.height) / s);
      context.strokeStyle = GRATICULE;
      context.fillStyle = '#333';
      context.lineWidth = 1;
      context.font = '11px sans-serif';
      context.beginPath();
      var lon, lat, x, y, labels = [];
      for (lon = Math.ceil(west / step) * step; lon <= east && labels.length < 400; lon += step) {
        x = Math.round(projectX(lon) * s - view.x0) + 0.5;
        context.moveTo(x, 0);
        context.lineTo(x, view.height);
        if (x > CORNER) labels.push([graticuleLabel(normalLon(lon), step, 'E', 'W'), x + 3, 12]);
      }
      for (lat = Math.ceil(Math.max(south, -MAX_LAT) / step) * step; lat <= Math.min(north, MAX_LAT) &&
           labels.length < 800; lat += step) {
        y = Math.round(projectY(lat) * s - view.y0) + 0.5;
        context.moveTo(0, y);
        context.lineTo(view.width, y);
        if (y > CORNER + 30) labels.push([graticuleLabel(lat, step, 'N', 'S'), 3, y - 3]);
      }
      context.stroke();
      labels.forEach(function (label) { context.fillText(label[0], label[1], label[2]); });
    });
  }

  // ---- The pointer's position, in the program's texts and in decimals.
  function readoutControl(map) {
    var control = L.control({position: 'bottomright'});
    control.onAdd = function () {
      var box = L.DomUtil.create('div', 'orvanta-readout');
      map.on('mousemove', function (e) { box.textContent = positionText(e.latlng.lat, e.latlng.lng); });
      map.on('mouseout', function () { box.textContent = ''; });
      return box;
    };
    return control;
  }

  // ---- The grid's large squares, boxes [south, west, north, east] in
  // records [name, chart, boxes]; one name per large square, drawn in the
  // largest part in view of the pieces of its records when it fits there.
  function squaresLayer(squares, drawn) {
    var names = new Map(), order = [];
    squares.forEach(function (square) {
      square[2].forEach(function (b) {
        var box = [projectX(b[1]), projectY(b[2]), projectX(b[3]), projectY(b[0])];
        var entry = names.get(square[0]);
        if (!entry) {
          entry = {name: String(square[0]), boxes: []};
          names.set(square[0], entry);
          order.push(entry);
        }
        entry.boxes.push(box);
      });
    });
    return new CanvasLayer(function (context, view) {
      var s = view.scale, taken = [], copies = worldCopies(view);
      drawn.length = 0;
      context.strokeStyle = SQUARE_LINE;
      context.fillStyle = SQUARE_LINE;
      context.lineWidth = 1;
      context.font = 'bold 11px sans-serif';
      context.textAlign = 'center';
      context.textBaseline = 'middle';
      context.beginPath();
      copies.forEach(function (dx) {
        order.forEach(function (entry) {
          entry.boxes.forEach(function (b) {
            context.rect(Math.round((b[0] + dx) * s - view.x0) + 0.5, Math.round(b[1] * s - view.y0) + 0.5,
                         Math.round((b[2] - b[0]) * s), Math.round((b[3] - b[1]) * s));
          });
        });
      });
      context.stroke();
      copies.forEach(function (dx) {
        order.forEach(function (entry) {
          // The middle of the largest part of a piece in view.
          var left = 0, right = 0, top = 0, bottom = 0;
          entry.boxes.forEach(function (b) {
            var l = Math.max((b[0] + dx) * s - view.x0, 0), r = Math.min((b[2] + dx) * s - view.x0, view.width);
            var t = Math.max(b[1] * s - view.y0, 0), u = Math.min(b[3] * s - view.y0, view.height);
            if (r > l && u > t && (r - l) * (u - t) > (right - left) * (bottom - top)) {
              left = l; right = r; top = t; bottom = u;
            }
          });
          var x = (left + right) / 2, y = (top + bottom) / 2, half = context.measureText(entry.name).width / 2 + 2;
          if (right - left < 2 * half || bottom - top < 14) return;
          var clash = taken.some(function (t) { return Math.abs(t[0] - x) < half + t[2] && Math.abs(t[1] - y) < 14; });
          if (clash) return;
          taken.push([x, y, half]);
          drawn.push(entry.name);
          context.fillText(entry.name, x, y);
        });
      });
    });
  }

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
    return new CanvasLayer(function (context, view) {
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
    return new CanvasLayer(function (context, view) {
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
  var coast = coastlineLayer(data.coast), graticule = graticuleLayer();
  var squares = squaresLayer(data.squares, labels);
  var areas = areasLayer(f), points = pointsLayer(f);
  var overlays = {'Coastline (GSHHG)': coast, 'Graticule': graticule, 'Large squares': squares};
  if (f.rings.length) overlays.Squares = areas;
  if (f.px.length) overlays.Points = points;
  L.control.layers(null, overlays, {collapsed: false}).addTo(map);
  L.control.scale().addTo(map);
  readoutControl(map).addTo(map);
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
  window.orvantaPage = {
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
  window.orvantaPieces = {CanvasLayer: CanvasLayer, mapView: mapView, coastlineLayer: coastlineLayer,
                          graticuleLayer: graticuleLayer,
                          readoutControl: readoutControl, positionText: positionText};
}());
