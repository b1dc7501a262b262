// GeoJSON polygons of quads, cells and small squares.
#include "tools/gridtool/GeoJsonExport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "convert/GridLookup.h"
#include "tools/common/TextEncoding.h"

namespace {

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

const char *const kLevelNames[] = {"square", "cell", "small square"};

// The properties every feature of a quad carries, its level first.
std::string QuadProperties(const GridDatabase &db, int index, GridLevel level)
{
    const QuadRecord &q = db.Quads[index];
    return "\"level\": \"" + std::string(kLevelNames[static_cast<int>(level)]) + "\", \"name\": " +
           JsonQuote(QuadNameText(q)) + ", \"chart\": " + std::to_string(q.Chart) +
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

// Whether any part of a box overlaps the export's area (always, without
// one); a box that is not on the globe overlaps no area.  The parts are the
// extremes of the rings that would be written.
bool InArea(const GridExport &what, const BoxParts &parts)
{
    if (!what.HasArea)
        return true;
    for (int i = 0; i < parts.Count && i < 2; ++i) {
        const LonLatBox &box = parts.Part[i];
        if (box.South >= what.North || box.North <= what.South)
            continue;
        bool overlaps = what.West <= what.East ? box.West < what.East && box.East > what.West
                                               : box.East > what.West || box.West < what.East;
        if (overlaps)
            return true;
    }
    return false;
}

// The walk over the grid in output order; Emit is called for each feature
// in the area, or only counted when out is null.  The properties and rings
// are put together only for a feature that is written: a count of the
// small squares of a large area makes none of them.
struct GridWalk {
    const GridDatabase &Db;
    const GridExport &What;
    std::FILE *Out;
    bool First = true;
    long long Count = 0;

    template <typename Properties>
    void Emit(Properties properties, const BoxParts &parts)
    {
        ++Count;
        if (Out)
            WriteFeature(Out, First, properties(), PartRings(parts));
    }
};

// A box inside the quad, given by its lower-left fraction and size in
// fractions of the quad's extent.
BoxParts QuadBox(const QuadRecord &q, double fracX, double fracY, double sizeX, double sizeY)
{
    double lat = q.DownLeftLat + q.SizeLat * fracY, lon = q.DownLeftLon + q.SizeLon * fracX;
    return SplitBox(lat, lat + q.SizeLat * sizeY, lon, lon + q.SizeLon * sizeX);
}

// The 81 small squares of one cell (column c, row r from the top of the
// form), named by the fixed numbering.
void WalkSmallSquares(GridWalk &w, int index, int c, int r, const std::string &cellProperties,
                      const std::string &cellCode)
{
    const QuadRecord &q = w.Db.Quads[index];
    const QuadForm &form = w.Db.Forms[q.Quadtype];
    double cellX = 1.0 / form.FormX, cellY = 1.0 / form.FormY;
    for (int sr = 0; sr < kStandardSize; ++sr)
        for (int sc = 0; sc < kStandardSize; ++sc) {
            double fracX = cellX * (c + static_cast<double>(sc) / kStandardSize);
            double fracY = cellY * (form.FormY - 1 - r + static_cast<double>(kStandardSize - 1 - sr) / kStandardSize);
            BoxParts box = QuadBox(q, fracX, fracY, cellX / kStandardSize, cellY / kStandardSize);
            if (!InArea(w.What, box))
                continue;
            w.Emit(
                [&] {
                    char number[8];
                    std::snprintf(number, sizeof number, "%02d", StandardNumbering[sr][sc]);
                    return cellProperties + ", \"small\": " + std::to_string(StandardNumbering[sr][sc]) +
                           ", \"code\": " + JsonQuote(cellCode + number);
                },
                box);
        }
}

// Every existing cell of the quad's form, each followed by its small
// squares when the export goes that deep.
void WalkCells(GridWalk &w, int index)
{
    const QuadRecord &q = w.Db.Quads[index];
    if (q.Quadtype < 0 || q.Quadtype >= kMaxQuadTypes)
        return;
    const QuadForm &form = w.Db.Forms[q.Quadtype];
    int fx = form.FormX, fy = form.FormY;
    if (fx <= 0 || fy <= 0 || fx * fy > kMaxFormCells)
        return;
    for (int r = 0; r < fy; ++r)
        for (int c = 0; c < fx; ++c) {
            int number = form.Numbers[r * fx + c];
            if (number == -1)
                continue;
            BoxParts box =
                QuadBox(q, static_cast<double>(c) / fx, static_cast<double>(fy - 1 - r) / fy, 1.0 / fx, 1.0 / fy);
            if (!InArea(w.What, box))
                continue;
            char digits[16];
            std::snprintf(digits, sizeof digits, "%02d", number);
            std::string code = w.Out ? QuadNameText(q) + digits : "";
            std::string properties = w.Out ? ", \"cell\": " + std::to_string(number) : "";
            w.Emit(
                [&] {
                    return QuadProperties(w.Db, index, GridLevel::Cell) + properties + ", \"code\": " + JsonQuote(code);
                },
                box);
            if (w.What.Depth == GridLevel::SmallSquare)
                WalkSmallSquares(w, index, c, r,
                                 w.Out ? QuadProperties(w.Db, index, GridLevel::SmallSquare) + properties : "", code);
        }
}

// One feature per quad record in the area, then what lies below it.
void WalkGrid(GridWalk &w)
{
    for (int i = 0; i < w.Db.QuadCount && i < kMaxQuadRecords; ++i) {
        const QuadRecord &q = w.Db.Quads[i];
        BoxParts box = SplitBox(q.DownLeftLat, q.DownLeftLat + q.SizeLat, q.DownLeftLon, q.DownLeftLon + q.SizeLon);
        if (!InArea(w.What, box))
            continue;
        w.Emit([&] { return QuadProperties(w.Db, i, GridLevel::Square); }, box);
        if (w.What.Depth != GridLevel::Square)
            WalkCells(w, i);
    }
}

// Reads one number of an area text; false unless the whole part is one.
bool AreaNumber(const std::string &part, double &value)
{
    if (part.empty() || part.size() > 32)
        return false;
    char *end = nullptr;
    value = std::strtod(part.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && part.find_first_of("xXnN") == std::string::npos;
}

} // namespace

// Four comma-separated decimal numbers: west, south, east, north.
bool ParseExportArea(const std::string &text, GridExport &what, std::string &error)
{
    std::string parts[4];
    double v[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            break;
        parts[i] = text.substr(start, comma - start);
        if (!AreaNumber(parts[i], v[i])) {
            parts[3].clear();
            break;
        }
        start = comma + 1;
    }
    if (parts[3].empty()) {
        error = "--bbox takes four numbers WEST,SOUTH,EAST,NORTH in degrees, east and north positive; got '" + text +
                "'";
        return false;
    }
    const char *names[] = {"west", "south", "east", "north"};
    for (int i = 0; i < 4; ++i)
        if (std::fabs(v[i]) > (i % 2 ? 90 : 180)) {
            error = std::string("--bbox: ") + names[i] + " " + parts[i] + " is beyond " + (i % 2 ? "90" : "180");
            return false;
        }
    if (v[1] >= v[3]) {
        error = "--bbox: south " + parts[1] + " is not below north " + parts[3];
        return false;
    }
    what.HasArea = true;
    what.West = v[0], what.South = v[1], what.East = v[2], what.North = v[3];
    return true;
}

long long CountGridFeatures(const GridDatabase &db, const GridExport &what)
{
    GridWalk walk{db, what, nullptr};
    WalkGrid(walk);
    return walk.Count;
}

void WriteGridGeoJson(const GridDatabase &db, const GridExport &what, std::FILE *out)
{
    std::fputs("{\"type\": \"FeatureCollection\", \"features\": [", out);
    GridWalk walk{db, what, out};
    WalkGrid(walk);
    std::fputs("\n]}\n", out);
}
