// GeoJSON polygons of quads and cells.
#include "tools/gridtool/GeoJsonExport.h"

#include <algorithm>
#include <cmath>

#include "tools/common/MapLongitude.h"
#include "tools/common/TextEncoding.h"

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

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    if (std::string(text) == "-0.000000")
        return "0.000000";
    return text;
}

// Writes the geometry object of the rings: a Polygon or a MultiPolygon,
// or null for a box that is not on the globe.
void WriteGeometry(std::FILE *out, const std::vector<std::vector<LonLat>> &rings)
{
    if (rings.empty()) {
        std::fputs("null", out);
        return;
    }
    bool multi = rings.size() > 1;
    std::fprintf(out, "{\"type\": \"%s\", \"coordinates\": %s", multi ? "MultiPolygon" : "Polygon", multi ? "[" : "");
    for (size_t r = 0; r < rings.size(); ++r) {
        std::fprintf(out, "%s[[", r ? ", " : "");
        for (size_t i = 0; i < rings[r].size(); ++i)
            std::fprintf(out, "%s[%s, %s]", i ? ", " : "", Number(rings[r][i].Lon).c_str(),
                         Number(rings[r][i].Lat).c_str());
        std::fprintf(out, "]]");
    }
    std::fprintf(out, "%s}", multi ? "]" : "");
}

// The quad's name as UTF-8, never reading past its slot.
std::string QuadNameText(const QuadRecord &q)
{
    char name[kNameSlotSize + 1] = {};
    std::copy(q.QuadName, q.QuadName + kNameSlotSize, name);
    return Cp1252ToUtf8(name);
}

// The properties every feature of a quad carries.
std::string QuadProperties(const GridDatabase &db, int index)
{
    const QuadRecord &q = db.Quads[index];
    return "\"name\": " + JsonQuote(QuadNameText(q)) + ", \"chart\": " + std::to_string(q.Chart) +
           ", \"quadType\": " + std::to_string(q.Quadtype) + ", \"record\": " + std::to_string(index);
}

// Writes one feature; first tells whether a comma goes before it.
void WriteFeature(std::FILE *out, bool &first, const std::string &properties,
                  const std::vector<std::vector<LonLat>> &rings)
{
    std::fprintf(out, "%s\n{\"type\": \"Feature\", \"properties\": {%s}, \"geometry\": ", first ? "" : ",",
                 properties.c_str());
    WriteGeometry(out, rings);
    std::fputs("}", out);
    first = false;
}

// Writes a feature for every existing cell of the quad's form.
void WriteCells(const GridDatabase &db, int index, std::FILE *out, bool &first)
{
    const QuadRecord &q = db.Quads[index];
    if (q.Quadtype < 0 || q.Quadtype >= kMaxQuadTypes)
        return;
    const QuadForm &form = db.Forms[q.Quadtype];
    int fx = form.FormX, fy = form.FormY;
    if (fx <= 0 || fy <= 0 || fx * fy > kMaxFormCells)
        return;
    for (int r = 0; r < fy; ++r)
        for (int c = 0; c < fx; ++c) {
            int number = form.Numbers[r * fx + c];
            if (number == -1)
                continue;
            double lat = q.DownLeftLat + static_cast<double>(q.SizeLat) * (fy - 1 - r) / fy;
            double lon = q.DownLeftLon + static_cast<double>(q.SizeLon) * c / fx;
            char code[16];
            std::snprintf(code, sizeof code, "%02d", number);
            std::string properties = QuadProperties(db, index) + ", \"cell\": " + std::to_string(number) +
                                     ", \"code\": " + JsonQuote(QuadNameText(q) + code);
            WriteFeature(out, first, properties, BoxRings(lat, lat + q.SizeLat / fy, lon, lon + q.SizeLon / fx));
        }
}

} // namespace

// Orders the corners, turns west-positive minutes into east-positive
// degrees within -180..180 and splits a box that crosses the 180th meridian.
// A box that is not on the globe (a value that is not finite, a latitude
// past a pole, more than 360 degrees across, a longitude the map wrap
// refuses) has no rings.
std::vector<std::vector<LonLat>> BoxRings(double latA, double latB, double lonWestA, double lonWestB)
{
    for (double v : {latA, latB, lonWestA, lonWestB})
        if (!std::isfinite(v))
            return {};
    double south = std::min(latA, latB) / 60, north = std::max(latA, latB) / 60;
    double westEdge = std::max(lonWestA, lonWestB), eastEdge = std::min(lonWestA, lonWestB);
    double width = (westEdge - eastEdge) / 60;
    double wrapped, unused;
    if (south < -90 || north > 90 || width > 360 || !WrapLongitudeMinutes(westEdge, wrapped) ||
        !WrapLongitudeMinutes(eastEdge, unused))
        return {};
    double west = -wrapped / 60;
    double east = west + width;
    if (east <= 180)
        return {Ring(west, east, south, north)};
    return {Ring(west, 180, south, north), Ring(-180, east - 360, south, north)};
}

// The collection: one feature per quad record, then its cells.
void WriteGridGeoJson(const GridDatabase &db, bool cells, std::FILE *out)
{
    std::fputs("{\"type\": \"FeatureCollection\", \"features\": [", out);
    bool first = true;
    for (int i = 0; i < db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = db.Quads[i];
        WriteFeature(out, first, QuadProperties(db, i),
                     BoxRings(q.DownLeftLat, q.DownLeftLat + q.SizeLat, q.DownLeftLon, q.DownLeftLon + q.SizeLon));
        if (cells)
            WriteCells(db, i, out, first);
    }
    std::fputs("\n]}\n", out);
}
