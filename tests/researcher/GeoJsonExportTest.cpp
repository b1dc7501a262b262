// The GeoJSON layer: rings in longitude east, counter-clockwise, closed and
// densified; the 180th meridian splits a box; one feature per quad and per
// existing cell.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "MapTestSupport.h"
#include "tools/gridtool/GeoJsonExport.h"

namespace {

// Twice the signed area of a ring: positive when counter-clockwise.
double SignedArea(const std::vector<LonLat> &ring)
{
    double area = 0;
    for (size_t i = 0; i + 1 < ring.size(); ++i)
        area += ring[i].Lon * ring[i + 1].Lat - ring[i + 1].Lon * ring[i].Lat;
    return area;
}

struct BoxCase {
    const char *what;
    double latA, latB, lonWestA, lonWestB;  // minutes, west positive
    std::vector<std::array<double, 4>> parts;  // west, east, south, north in degrees east
};

TEST(GeoJsonExport, BoxRingsTurnWestMinutesIntoEastDegrees)
{
    const BoxCase cases[] = {
        {"North Atlantic, west", 3240, 3330, 1800, 1620, {{-30, -27, 54, 55.5}}},
        {"corners given north-east first", 3330, 3240, 1620, 1800, {{-30, -27, 54, 55.5}}},
        {"east of Greenwich", -2772, -2286, -1038, -1470, {{17.3, 24.5, -46.2, -38.1}}},
        {"across Greenwich", 3060, 3546, 294, -1470, {{-4.9, 24.5, 51, 59.1}}},
        {"across 180, written west", 1200, 1686, 10500, 11100, {{175, 180, 20, 28.1}, {-180, -175, 20, 28.1}}},
        {"across 180, written east", 1200, 1686, -10500, -11100, {{175, 180, 20, 28.1}, {-180, -175, 20, 28.1}}},
        {"two turns east of Greenwich", 0, 60, -43800, -43860, {{10, 11, 0, 1}}},
        // Boxes that are not on the globe have no rings (and export as null).
        {"longitude of 1e30 minutes", 0, 60, 1e30, 1e30 + 60, {}},
        {"infinite size", 0, 60, 0, HUGE_VAL, {}},
        {"not a number", NAN, 60, 0, 60, {}},
        {"past the pole", 5000, 5500, 0, 60, {}},
        {"wider than the globe", 0, 60, 0, 21660, {}},
    };
    for (const BoxCase &c : cases) {
        std::vector<std::vector<LonLat>> rings = BoxRings(c.latA, c.latB, c.lonWestA, c.lonWestB);
        ASSERT_EQ(rings.size(), c.parts.size()) << c.what;
        BoxParts split = SplitBox(c.latA, c.latB, c.lonWestA, c.lonWestB);  // what export areas are tested on
        ASSERT_EQ(static_cast<size_t>(split.Count), rings.size()) << c.what;
        for (size_t r = 0; r < rings.size(); ++r) {
            const std::vector<LonLat> &ring = rings[r];
            const auto &part = c.parts[r];
            EXPECT_NEAR(ring.front().Lon, part[0], 1e-9) << c.what;  // starts at the south-west corner
            EXPECT_NEAR(ring.front().Lat, part[2], 1e-9) << c.what;
            EXPECT_EQ(ring.front().Lon, ring.back().Lon) << c.what;
            EXPECT_EQ(ring.front().Lat, ring.back().Lat) << c.what;
            EXPECT_GT(SignedArea(ring), 0) << c.what << ": clockwise";
            double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
            for (size_t i = 0; i < ring.size(); ++i) {
                west = std::min(west, ring[i].Lon), east = std::max(east, ring[i].Lon);
                south = std::min(south, ring[i].Lat), north = std::max(north, ring[i].Lat);
                if (i > 0) {
                    EXPECT_LE(std::fabs(ring[i].Lon - ring[i - 1].Lon), 0.5 + 1e-9) << c.what;
                    EXPECT_LE(std::fabs(ring[i].Lat - ring[i - 1].Lat), 0.5 + 1e-9) << c.what;
                }
            }
            EXPECT_NEAR(west, part[0], 1e-9) << c.what;
            EXPECT_NEAR(east, part[1], 1e-9) << c.what;
            EXPECT_NEAR(south, part[2], 1e-9) << c.what;
            EXPECT_NEAR(north, part[3], 1e-9) << c.what;
            const LonLatBox &box = split.Part[r];  // the rings' extremes, exactly
            EXPECT_TRUE(west == box.West && east == box.East && south == box.South && north == box.North) << c.what;
            EXPECT_GE(ring.size(), 17u) << c.what << ": at least four pieces per edge";
        }
    }
}

// An edge on a whole degree lands on it exactly, so that a box touching an
// export area's edge does not count as overlapping it.
TEST(GeoJsonExport, BoxEdgesOnWholeDegreesAreExact)
{
    std::vector<std::vector<LonLat>> rings = BoxRings(0, 54, -10506, -10560);  // 175.1 E to 176 E
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0][rings[0].size() / 2].Lon, 176.0);
}

// Writes the layer of a plain text to a string.
std::string LayerOf(const std::string &plain, bool cells)
{
    static GridDatabase db;
    EXPECT_EQ(LoadPlainText(plain, db), kLoadOk);
    std::FILE *file = std::tmpfile();
    GridExport what;
    what.Depth = cells ? GridLevel::Cell : GridLevel::Square;
    WriteGridGeoJson(db, what, file);
    return TakeFileText(file);
}

size_t Count(const std::string &text, const std::string &part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

const std::string kGrid = CrLfLines({
    "Chart 1", "Quadtype 0", "NrOfQuadsX 3", "NrOfQuadsY 2", "DownLeftPos 54'00 30'00", "UpRightPos 57'00 21'00",
    "QuadName CA,CB,\xC4" "C", "QuadName CD,CE,CF", "QuadDefinitions", "Type 0", "FormX 3", "FormY 2", "Numbers:",
    "11,12,1,", "21,22,-1"});

TEST(GeoJsonExport, OneFeaturePerQuadAndPerExistingCell)
{
    const struct {
        bool cells;
        size_t features;
    } cases[] = {{false, 6}, {true, 6 + 6 * 5}};
    for (const auto &c : cases) {
        std::string layer = LayerOf(kGrid, c.cells);
        EXPECT_EQ(Count(layer, "\"type\": \"Feature\""), c.features);
        EXPECT_EQ(Count(layer, "\"cell\": -1"), 0u);
    }
    std::string layer = LayerOf(kGrid, true);
    EXPECT_NE(layer.find("\"level\": \"square\", \"name\": \"\xC3\x84" "C\", \"chart\": 1, \"quadType\": 0, "
                         "\"record\": 2"),
              std::string::npos)
        << "Windows-1252 names become UTF-8";
    EXPECT_NE(layer.find("\"cell\": 1, \"code\": \"CA01\""), std::string::npos) << "a tenth square is written 01";
    // The first quad CA spans 30 to 27 degrees west, 54 to 55.5 north, in
    // half-degree pieces; its cell 11 is the top-left third of the top row.
    EXPECT_NE(layer.find("\"record\": 0}, \"geometry\": {\"type\": \"Polygon\", \"coordinates\": "
                         "[[[-30.000000, 54.000000], [-29.500000, 54.000000]"),
              std::string::npos);
    EXPECT_NE(layer.find("\"cell\": 11, \"code\": \"CA11\"}, \"geometry\": {\"type\": \"Polygon\", "
                         "\"coordinates\": [[[-30.000000, 54.750000], [-29.750000, 54.750000]"),
              std::string::npos);
}

TEST(GeoJsonExport, AreaAcrossTheAntimeridian)
{
    static GridDatabase db;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), db), kLoadOk);
    const struct {
        const char *box;
        GridLevel depth;
        long long features;
    } cases[] = {
        {"179.5,20,-179.5,21", GridLevel::Square, 1},   // west above east: across 180, XA only
        {"179.5,20,-178.5,21", GridLevel::Cell, 4},     // both quads, each with its cell
        {"178,20,179.5,21", GridLevel::Square, 1},      // XA's eastern-hemisphere piece
        {"-178,20,-177.5,21", GridLevel::Square, 1},    // XB
        {"170,20,178,21", GridLevel::Square, 0},
        {"-180,20,180,21", GridLevel::Square, 2},
        {"-180,21,180,22", GridLevel::Square, 0},       // touching the north edge is not overlapping
        {"-177.75,20.9,-177.7,21", GridLevel::SmallSquare, 3}, // XB, its cell, one small square
    };
    for (const auto &c : cases) {
        GridExport what;
        std::string error;
        ASSERT_TRUE(ParseExportArea(c.box, what, error)) << c.box << ": " << error;
        what.Depth = c.depth;
        EXPECT_EQ(CountGridFeatures(db, what), c.features) << c.box;
    }
}

} // namespace
