// The grid as a GeoJSON map layer: each quad record (and each existing
// cell) as a polygon, densified so that it draws right in any projection.
#ifndef ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H
#define ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "data/GridDatabase.h"
#include "tools/common/MapGeometry.h"

// Writes a FeatureCollection of the database's quads, and with cells of
// every existing cell of their forms, to out.
void WriteGridGeoJson(const GridDatabase &db, bool cells, std::FILE *out);

#endif
