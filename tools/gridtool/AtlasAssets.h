// The files every atlas page carries, built into gridtool: Leaflet
// (Debian's libjs-leaflet), the GSHHG coastline, the page's script and
// style sheet, and the WebAssembly core as one script.  Each is a
// terminated text; kAtlasCore is empty in a build without emscripten.
#ifndef ORVANTA_TOOLS_ATLASASSETS_H
#define ORVANTA_TOOLS_ATLASASSETS_H

extern const char kAtlasLeafletScript[];
extern const char kAtlasLeafletStyle[];
extern const char kAtlasCoastline[];
extern const char kAtlasPiecesScript[];   // the map page's pieces: coastline, graticule, readout, large squares
extern const char kAtlasScript[];
extern const char kAtlasPageStyle[];   // the map page's style sheet, under the atlas's
extern const char kAtlasStyle[];
extern const char kAtlasCore[];

#endif
