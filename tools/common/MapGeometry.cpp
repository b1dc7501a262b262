// Boxes of the grid as rings in longitude and latitude.
#include "tools/common/MapGeometry.h"

#include "tools/common/MapLongitude.h"

#include <algorithm>
#include <cmath>

namespace {

const double kStepDegrees = 0.5;  // the longest straight piece of an edge
const int kMinSegments = 4;       // pieces per edge, however short

// Appends the points from a to b (a included, b not) in equal pieces.
void AddEdge(std::vector<LonLat> &ring, LonLat a, LonLat b)
{
    double length = std::max(std::fabs(b.Lon - a.Lon), std::fabs(b.Lat - a.Lat));
    int pieces = std::max(kMinSegments, static_cast<int>(std::ceil(length / kStepDegrees)));
    for (int i = 0; i < pieces; ++i) {
        double t = static_cast<double>(i) / pieces;
        ring.push_back({a.Lon + (b.Lon - a.Lon) * t, a.Lat + (b.Lat - a.Lat) * t});
    }
}

// South-west, south-east, north-east, north-west and back: counter-clockwise.
std::vector<LonLat> Ring(double west, double east, double south, double north)
{
    std::vector<LonLat> ring;
    AddEdge(ring, {west, south}, {east, south});
    AddEdge(ring, {east, south}, {east, north});
    AddEdge(ring, {east, north}, {west, north});
    AddEdge(ring, {west, north}, {west, south});
    ring.push_back({west, south});
    return ring;
}

} // namespace

// Orders the corners, turns west-positive minutes into east-positive
// degrees within -180..180 and splits a box that crosses the 180th meridian.
// A box that is not on the globe (a value that is not finite, a latitude
// past a pole, more than 360 degrees across, a longitude a hundred turns
// or more away, where a double no longer resolves the cells) has no parts.
BoxParts SplitBox(double latA, double latB, double lonWestA, double lonWestB)
{
    BoxParts parts = {0, {}};
    for (double v : {latA, latB, lonWestA, lonWestB})
        if (!std::isfinite(v))
            return parts;
    double south = std::min(latA, latB) / 60, north = std::max(latA, latB) / 60;
    double width = (std::max(lonWestA, lonWestB) - std::min(lonWestA, lonWestB)) / 60;
    double west = 0;
    if (south < -90 || north > 90 || width > 360 || !LongitudeDegreesEast(std::max(lonWestA, lonWestB), west))
        return parts;
    double east = west + width;
    if (east <= 180) {
        parts.Part[parts.Count++] = {west, east, south, north};
    } else {
        parts.Part[parts.Count++] = {west, 180, south, north};
        parts.Part[parts.Count++] = {-180, east - 360, south, north};
    }
    return parts;
}

std::vector<std::vector<LonLat>> PartRings(const BoxParts &parts)
{
    std::vector<std::vector<LonLat>> rings;
    for (int i = 0; i < parts.Count && i < 2; ++i)
        rings.push_back(Ring(parts.Part[i].West, parts.Part[i].East, parts.Part[i].South, parts.Part[i].North));
    return rings;
}

std::vector<std::vector<LonLat>> BoxRings(double latA, double latB, double lonWestA, double lonWestB)
{
    return PartRings(SplitBox(latA, latB, lonWestA, lonWestB));
}
