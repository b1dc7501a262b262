// The map page of orvanta-convert: draws the coastline, the grid's large
// squares and the features that the tool wrote into `orvanta` above.
(function () {
  'use strict';

  var SEA_LINE = '#5b4a2f', SQUARE_LINE = '#1f3f6e', FEATURE = '#d7191c', UNPLACED_SHOWN = 50;

  // A pop-up's table of the feature's properties, built as text nodes so
  // that no property is read as markup.
  function propertyTable(properties) {
    var table = document.createElement('table');
    table.className = 'orvanta-popup';
    properties.forEach(function (property) {
      var row = table.insertRow(), name = document.createElement('th'), value = row.insertCell();
      name.textContent = property[0];
      value.textContent = property[1];
      row.insertBefore(name, value);
    });
    return table;
  }

  // The coastline as polylines of [lat, lon]; the data is [lon, lat, ...].
  function coastLayer(lines) {
    var latlngs = lines.map(function (line) {
      var points = [];
      for (var i = 0; i + 1 < line.length; i += 2) points.push([line[i + 1], line[i]]);
      return points;
    });
    return L.polyline(latlngs, {color: SEA_LINE, weight: 1, interactive: false});
  }

  // One rectangle per piece of each large square, named at its largest piece.
  function squareLayer(squares) {
    var layer = L.layerGroup();
    squares.forEach(function (square) {
      var largest = null, largestArea = -1;
      square[2].forEach(function (box) {
        var rect = L.rectangle([[box[0], box[1]], [box[2], box[3]]],
                               {color: SQUARE_LINE, weight: 1, fill: false, interactive: false});
        var area = (box[2] - box[0]) * (box[3] - box[1]);
        if (area > largestArea) { largest = rect; largestArea = area; }
        layer.addLayer(rect);
      });
      largest.bindTooltip(square[0], {permanent: true, direction: 'center', className: 'orvanta-square-label'});
    });
    return layer;
  }

  // The features with a position, each with its pop-up.
  function featureLayer(features) {
    var layer = L.featureGroup();
    features.forEach(function (feature) {
      var g = feature.geometry, shape;
      if (!g) return;
      if (g.point) {
        shape = L.circleMarker(g.point, {radius: 6, color: '#6b0000', weight: 1, fillColor: FEATURE, fillOpacity: 0.9});
      } else {
        shape = L.polygon(g.rings.map(function (ring) { return [ring]; }),
                          {color: FEATURE, weight: 2, fillColor: FEATURE, fillOpacity: 0.25});
      }
      shape.orvantaProperties = feature.properties;
      shape.bindPopup(propertyTable(feature.properties));
      layer.addLayer(shape);
    });
    return layer;
  }

  // A box listing the features that have no position.
  function unplacedControl(features) {
    var unplaced = features.filter(function (feature) { return !feature.geometry; });
    if (!unplaced.length) return null;
    var control = L.control({position: 'bottomleft'});
    control.onAdd = function () {
      var box = L.DomUtil.create('div', 'orvanta-unplaced'), list = document.createElement('ul');
      box.appendChild(document.createTextNode(unplaced.length + ' without a position:'));
      unplaced.slice(0, UNPLACED_SHOWN).forEach(function (feature) {
        var item = document.createElement('li');
        item.textContent = feature.properties.map(function (p) { return p[1]; }).join(' \u2013 ');
        list.appendChild(item);
      });
      if (unplaced.length > UNPLACED_SHOWN) {
        var more = document.createElement('li');
        more.textContent = 'and ' + (unplaced.length - UNPLACED_SHOWN) + ' more';
        list.appendChild(more);
      }
      box.appendChild(list);
      L.DomEvent.disableScrollPropagation(box);
      return box;
    };
    return control;
  }

  // Longitudes come in -180..180.  When the features (else the squares)
  // lie closer together counted 0..360, or as close but nearer the 180th
  // meridian than Greenwich (a Pacific grid), western longitudes move on by
  // a turn so that what lies across the 180th meridian is drawn in one piece.
  function pacificFrame() {
    var lons = [];
    orvanta.features.forEach(function (f) {
      if (f.geometry && f.geometry.point) lons.push(f.geometry.point[1]);
      if (f.geometry && f.geometry.rings) f.geometry.rings.forEach(function (r) { lons.push(r[0][1]); });
    });
    if (!lons.length) orvanta.squares.forEach(function (s) { s[2].forEach(function (b) { lons.push(b[1], b[3]); }); });
    if (!lons.length) return false;
    var shifted = lons.map(function (lon) { return lon < 0 ? lon + 360 : lon; });
    var span = function (v) { return Math.max.apply(null, v) - Math.min.apply(null, v); };
    var far = lons.reduce(function (sum, lon) { return sum + Math.abs(lon); }, 0) / lons.length > 90;
    return span(shifted) < span(lons) || (span(shifted) === span(lons) && far);
  }

  // Moves every longitude of the data west of Greenwich on by a turn; the
  // coastline gets a second copy a turn further east.
  function shiftWest() {
    var on = function (lon) { return lon < 0 ? lon + 360 : lon; };
    orvanta.features.forEach(function (f) {
      if (f.geometry && f.geometry.point) f.geometry.point[1] = on(f.geometry.point[1]);
      if (f.geometry && f.geometry.rings) {
        f.geometry.rings.forEach(function (ring) {
          var turn = ring.some(function (p) { return p[1] < 0; }) && ring.every(function (p) { return p[1] <= 0; });
          if (turn) ring.forEach(function (p) { p[1] += 360; });
        });
      }
    });
    orvanta.squares.forEach(function (s) {
      s[2].forEach(function (b) { if (b[3] <= 0) { b[1] += 360; b[3] += 360; } });
    });
    orvanta.coast = orvanta.coast.concat(orvanta.coast.map(function (line) {
      return line.map(function (v, i) { return i % 2 ? v : v + 360; });
    }));
  }

  if (pacificFrame()) shiftWest();
  var map = L.map('map', {zoomSnap: 0.5, worldCopyJump: false});
  map.attributionControl.addAttribution('Coastline: GSHHG (LGPL-3+)');
  var coast = coastLayer(orvanta.coast).addTo(map);
  var squares = squareLayer(orvanta.squares).addTo(map);
  var features = featureLayer(orvanta.features).addTo(map);
  L.control.layers({'Coastline (GSHHG)': coast}, {'Large squares': squares, 'Features': features},
                   {collapsed: false}).addTo(map);
  L.control.scale().addTo(map);
  var unplaced = unplacedControl(orvanta.features);
  if (unplaced) unplaced.addTo(map);

  // Shows the features, else the grid, else the world.
  var bounds = features.getBounds();
  if (!bounds.isValid()) {
    bounds = L.latLngBounds([]);
    orvanta.squares.forEach(function (square) {
      square[2].forEach(function (box) { bounds.extend([[box[0], box[1]], [box[2], box[3]]]); });
    });
  }
  if (!bounds.isValid()) map.setView([30, 0], 2);
  else if (bounds.getNorthEast().equals(bounds.getSouthWest())) map.setView(bounds.getCenter(), 6);
  else map.fitBounds(bounds, {padding: [30, 30], maxZoom: 8});

  window.orvantaMap = map;
}());
