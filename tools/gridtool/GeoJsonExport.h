// The grid as a GeoJSON map layer: each quad record (and each existing
// cell) as a polygon, densified so that it draws right in any projection.
#ifndef ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H
#define ORVANTA_TOOLS_GRIDTOOL_GEOJSONEXPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "data/GridDatabase.h"

// A point in GeoJSON's order: longitude east positive, latitude, degrees.
struct LonLat {
    double Lon;
    double Lat;
};

// The closed, counter-clockwise rings of a box given in the program's
// minutes (longitude positive west), with a point at least every half
// degree along each edge; two rings when it crosses the 180th meridian;
// none for a box that is not on the globe.
std::vector<std::vector<LonLat>> BoxRings(double latA, double latB, double lonWestA, double lonWestB);

// Writes a FeatureCollection of the database's quads, and with cells of
// every existing cell of their forms, to out.
void WriteGridGeoJson(const GridDatabase &db, bool cells, std::FILE *out);

#endif
