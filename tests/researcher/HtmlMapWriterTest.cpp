// The map page's data: each feature's geometry as the page script reads it
// (off-globe input shown as having no position), texts that cannot end
// their script element, tables of names and values that stay bounded, and
// the large squares of the loaded grid.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "MapTestSupport.h"
#include "tools/orvanta-convert/HtmlMapWriter.h"
#include "tools/orvanta-convert/MapPageAssets.h"

namespace {

// Writes a page of the features over the grid and returns it.
std::string PageOf(const GridDatabase &grid, const std::vector<MapFeature> &features)
{
    std::FILE *file = std::tmpfile();
    HtmlMapWriter writer(file, grid);
    writer.Begin("Diary <1941>");
    for (const MapFeature &f : features)
        writer.Add(f);
    writer.End();
    return TakeFileText(file);
}

MapFeature Point(double lon, double lat)
{
    MapFeature f;
    f.Geometry = MapFeature::Shape::Point;
    f.Point = {lon, lat};
    return f;
}

TEST(HtmlMapWriter, FeaturesAsThePageReadsThem)
{
    MapFeature triangle;
    triangle.Geometry = MapFeature::Shape::Area;
    triangle.Rings = {{{-30, 54}, {-27, 54}, {-27, 55.5}, {-30, 54}}};
    MapFeature offGlobeArea = triangle;
    offGlobeArea.Rings[0][1].Lat = 91;
    MapFeature square = Point(-29.5, 55.125);
    square.Geometry = MapFeature::Shape::Area;
    square.Rings = BoxRings(55 * 60, 56 * 60, 30 * 60, 29 * 60);
    MapFeature named;
    named.Name = "XX1111";
    named.Properties = {{"code", "XX1111"}, {"note", "\"</script><b>\" \xC3\xA4"}};
    const struct {
        const char *what;
        MapFeature feature;
        const char *expected;
    } cases[] = {
        {"point with its texts", Point(-29.5, 55.125),
         "[0,1,55.125,-29.5,0]\n]</script>\n<script>\norvanta.schemas = [\n[]];\n"
         "orvanta.strings = [\n\"55\xC2\xB0" "7.50 N 29\xC2\xB0" "30.00 W\"]"},
        {"east of 180, not wrapped", Point(190, 10), "[0,0,0]"},
        {"not a number", Point(NAN, 10), "[0,0,0]"},
        {"past the pole", Point(0, 90.5), "[0,0,0]"},
        {"area", triangle, "[0,2,0,0,0,[[54,-30,54,-27,55.5,-27,54,-30]]]"},
        {"square as its box", square, "[0,2,55.125,-29.5,0,[[55,-30,56,-29]]]"},
        {"area past the pole", offGlobeArea, "[0,0,0]"},
        {"no position: its name, names and values once", named,
         "[0,0,0,0,1]\n]</script>\n<script>\norvanta.schemas = [\n[\"code\",\"note\"]];\norvanta.strings = [\n"
         "\"XX1111\",\"\\\"\\u003c/script>\\u003cb>\\\" \xC3\xA4\"]"},
    };
    static GridDatabase empty;
    ResetGridDatabase(empty);
    for (const auto &c : cases) {
        std::string page = PageOf(empty, {c.feature});
        EXPECT_NE(page.find(c.expected), std::string::npos) << c.what;
        EXPECT_EQ(page.find("</script><b>"), std::string::npos) << c.what;
    }
}

// The tables are bounded: past them, names and values are written in full.
TEST(HtmlMapWriter, TablesStayBounded)
{
    static GridDatabase empty;
    ResetGridDatabase(empty);
    std::vector<MapFeature> features(HtmlMapWriter::kMaxStrings + 1);
    for (size_t i = 0; i < features.size(); ++i)
        features[i].Properties = {{"n" + std::to_string(i % 50000), "v" + std::to_string(i)}};
    features.back().Properties.emplace_back(std::string(HtmlMapWriter::kMaxSchemaBytes, 'k'),
                                            std::string(HtmlMapWriter::kMaxTableText + 1, 'x'));
    std::string page = PageOf(empty, features);
    std::string last = std::to_string(features.size() - 1);
    EXPECT_NE(page.find("\n[[\"n" + std::to_string((features.size() - 1) % 50000) + "\",\"kkkk"), std::string::npos)
        << "names in full";
    EXPECT_NE(page.find("\"],0,0,\"v" + last + "\",\"xxxx"), std::string::npos) << "values in full";
    EXPECT_NE(page.find("\n[49999,0,0,50000]"), std::string::npos) << "in the tables before";
}

TEST(HtmlMapWriter, PageCarriesLibraryCoastlineAndLargeSquares)
{
    static GridDatabase grid;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), grid), kLoadOk);
    std::string page = PageOf(grid, {Point(0, 0), Point(1, 1)});
    EXPECT_EQ(page.compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_NE(page.find("<title>Diary &lt;1941&gt;</title>"), std::string::npos);
    EXPECT_NE(page.find("window.L"), std::string::npos) << "the map library is inlined";
    EXPECT_NE(page.find("coast: [\n{\"zoom\": 0"), std::string::npos) << "the coastline is inlined";
    EXPECT_NE(page.find("[\"XA\", 2, [[20.0000, 179.0000, 21.0000, 180.0000], [20.0000, -180.0000, 21.0000, "
                        "-179.0000]]]"),
              std::string::npos);
    EXPECT_NE(page.find("[\"XB\", 2, [[20.0000, -179.0000, 21.0000, -177.0000]]]"), std::string::npos);
    EXPECT_EQ(page.find("sourceMappingURL"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
}

TEST(HtmlMapWriter, PageCarriesTheSquaresOfEveryGridFileInOrder)
{
    static GridDatabase pacific, other;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), pacific), kLoadOk);
    std::string text = AntimeridianGrid();
    text.replace(text.find("QuadName XA,XB"), 14, "QuadName YA,YB");
    ASSERT_EQ(LoadPlainText(text, other), kLoadOk);
    std::FILE *file = std::tmpfile();
    HtmlMapWriter writer(file, {&pacific, &other});
    writer.Begin("Two grids");
    writer.End();
    std::string page = TakeFileText(file);
    size_t xb = page.find("[\"XB\", 2,"), ya = page.find("[\"YA\", 2,"), yb = page.find("[\"YB\", 2,");
    ASSERT_NE(yb, std::string::npos);
    EXPECT_LT(xb, ya);
    EXPECT_LT(ya, yb);
    EXPECT_EQ(page.find("squares: [", page.find("squares: [") + 1), std::string::npos) << "one list";
}

// The atlas's core and script come with the run's grid files, named
// without their folders in texts that cannot end the script, in base64; a page
// without files (or from a tool built without the core) has neither.
TEST(HtmlMapWriter, PageCarriesTheAtlasWithTheRunsGridFiles)
{
    static GridDatabase grid;
    ASSERT_EQ(LoadPlainText(AntimeridianGrid(), grid), kLoadOk);
    for (bool withFiles : {false, true}) {
        std::FILE *file = std::tmpfile();
        HtmlMapWriter writer(file, grid);
        if (withFiles) {
            writer.AddGridFile("/data/<b>.bin", {0xfb, 0xff, 0x00, '<'});
            writer.AddGridFile("C:\\grids\\b.bin", {'a'});
        }
        writer.Begin("Atlas");
        writer.End();
        std::string page = TakeFileText(file);
        bool atlas = withFiles && *kMapAtlasCore;
        SCOPED_TRACE(withFiles);
        EXPECT_EQ(page.find("\ngrids: [\n{name: \"\\u003cb>.bin\", data: \"+/8APA==\"},\n"
                            "{name: \"b.bin\", data: \"YQ==\"}],\n") != std::string::npos,
                  atlas);
        EXPECT_EQ(page.find("var OrvantaAtlas = ") != std::string::npos, atlas);
        EXPECT_EQ(page.find("<b>.bin"), std::string::npos);
    }
}

} // namespace
