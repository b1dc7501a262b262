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

// A box in degrees, longitude east positive, west below east.
struct LonLatBox {
    double West, East, South, North;
};

// A box of the program's, given in minutes (longitude positive west), in
// degrees: one part, two when it crosses the 180th meridian, none for a box
// that is not on the globe.
struct BoxParts {
    int Count;
    LonLatBox Part[2];
};
BoxParts SplitBox(double latA, double latB, double lonWestA, double lonWestB);

// The closed, counter-clockwise rings of the parts, with a point at least
// every half degree along each edge; each ring's extremes are its part's
// edges exactly.
std::vector<std::vector<LonLat>> PartRings(const BoxParts &parts);

// The rings of a box of the program's: PartRings of SplitBox.
std::vector<std::vector<LonLat>> BoxRings(double latA, double latB, double lonWestA, double lonWestB);

#endif
