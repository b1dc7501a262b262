// The files that every map page carries, built into the tool: the Leaflet
// library and style sheet (Debian's libjs-leaflet), the GSHHG coastline,
// the pieces that any map page can use (projection, canvas layer,
// coastline, graticule, readout, large squares) and the page's own script
// and style sheet.  Each is a terminated text.
#ifndef ORVANTA_TOOLS_MAPPAGEASSETS_H
#define ORVANTA_TOOLS_MAPPAGEASSETS_H

extern const char kLeafletScript[];
extern const char kLeafletStyle[];
extern const char kCoastline[];   // JSON: levels {"zoom": Z, "lines": [polyline-encoded texts]}
extern const char kMapPiecesScript[];
extern const char kPageScript[];
extern const char kPageStyle[];

#endif
