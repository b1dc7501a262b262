// Geometry that the map outputs share: the program's boxes (minutes,
// longitude positive west) as rings of longitude and latitude in degrees.
#ifndef ORVANTA_TOOLS_MAPGEOMETRY_H
#define ORVANTA_TOOLS_MAPGEOMETRY_H

#include <vector>

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

#endif
