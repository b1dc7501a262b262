// The files that every map page and the atlas carry, built once into both
// tools: the Leaflet library and style sheet (Debian's libjs-leaflet), the GSHHG coastline,
// the pieces that any map page can use (projection, canvas layer,
// coastline, graticule, readout, large squares) and the page's own script
// and style sheet, and the atlas's core, script and style sheet, which add
// its search box, click lookup and grid layers (the core is empty where
// the tree builds none).  Each is a terminated text.
#ifndef ORVANTA_TOOLS_MAPPAGEASSETS_H
#define ORVANTA_TOOLS_MAPPAGEASSETS_H

extern const char kLeafletScript[];
extern const char kLeafletStyle[];
extern const char kCoastline[];   // JSON: levels {"zoom": Z, "lines": [polyline-encoded texts]}
extern const char kMapPiecesScript[];
extern const char kPageScript[];
extern const char kPageStyle[];
extern const char kMapAtlasCore[];
extern const char kMapAtlasScript[];
extern const char kMapAtlasStyle[];

#endif
