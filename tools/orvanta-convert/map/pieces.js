// Pieces of the map pages of orvanta-convert that any page over Leaflet
// can use on its own: the spherical Mercator projection, a canvas layer
// that a draw function fills, a fallback for the program's position texts
// (for a page without the atlas's core, which writes them), the coastline
// with its levels, a graticule that follows the zoom, a readout of the
// pointer's position and the grid's large squares with one name each.
// They are window.orvantaPieces; nothing here spreads an array into a
// call's arguments.
window.orvantaPieces = (function () {
  'use strict';

  var SEA_LINE = '#5b4a2f', GRATICULE = 'rgba(60, 60, 60, 0.35)', SQUARE_LINE = '#1f3f6e';
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
  // Only for a page without the atlas's core: where the core is in the
  // page, the readout takes its texts from it.
  function degreesMinutes(value, positive, negative) {
    var hundredths = Math.round(Math.abs(value) * 6000), degrees = Math.floor(hundredths / 6000);
    var minutes = (hundredths - degrees * 6000) / 100;
    return degrees + '\u00b0' + minutes.toFixed(2) + ' ' + (value < 0 ? negative : positive);
  }
  // A longitude within -180..180, from any number of turns.
  function normalLon(lon) {
    var turned = ((lon + 180) % 360 + 360) % 360 - 180;
    return turned === -180 && lon > 0 ? 180 : turned;
  }
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

  // ---- The pointer's position, in the program's texts and in decimals:
  // texts(lat, lon) gives them (lon within -180..180); control.texts may be
  // changed later, as a page does once the atlas's core is ready.
  function readoutControl(map, texts) {
    var control = L.control({position: 'bottomright'});
    control.texts = texts || positionText;
    control.onAdd = function () {
      var box = L.DomUtil.create('div', 'orvanta-readout');
      map.on('mousemove', function (e) { box.textContent = control.texts(e.latlng.lat, normalLon(e.latlng.lng)); });
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

  return {WORLD: WORLD, MAX_LAT: MAX_LAT, projectX: projectX, projectY: projectY, unprojectX: unprojectX,
          unprojectY: unprojectY, worldCopies: worldCopies, mapView: mapView, CanvasLayer: CanvasLayer,
          normalLon: normalLon, positionText: positionText, decodeLine: decodeLine, coastlineLayer: coastlineLayer,
          graticuleStep: graticuleStep, graticuleLayer: graticuleLayer, readoutControl: readoutControl,
          squaresLayer: squaresLayer};
}());
