// The grid as a GeoJSON map layer: each quad record (a large square), and
// down to each existing cell or, within an area, each small square, as a
// polygon densified so that it draws right in any projection.
#ifndef ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H
#define ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "data/GridDatabase.h"
#include "tools/common/MapGeometry.h"

// How far down the layer goes: the "level" property of its features.
enum class GridLevel { Square, Cell, SmallSquare };

// What to export: the levels down to Depth, and with HasArea only what
// overlaps the area (degrees east and north; West > East crosses the 180th
// meridian).
struct GridExport {
    GridLevel Depth = GridLevel::Square;
    bool HasArea = false;
    double West = -180, South = -90, East = 180, North = 90;
};

// Reads "W,S,E,N" in degrees into the export's area; false with the reason
// for a text that is not four numbers within the globe, south below north.
bool ParseExportArea(const std::string &text, GridExport &what, std::string &error);

// How many features WriteGridGeoJson writes for the same choice.
long long CountGridFeatures(const GridDatabase &db, const GridExport &what);

// Writes a FeatureCollection of the database's quads, then under each its
// cells and their small squares as deep as asked, to out.
void WriteGridGeoJson(const GridDatabase &db, const GridExport &what, std::FILE *out);

#endif
