// The atlas page's core, built natively: its answers carry what the tools
// print, and no input (a grid that does not load, an unreadable text, a
// grid index out of range) makes it read or write out of bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScrambledText.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/GridFiles.h"
#include "tools/orvanta-convert/ResultFormat.h"

extern "C" {
const char *atlas_add_grid(const char *name, const unsigned char *data, int size);
const char *atlas_convert(const char *text);
const char *atlas_reverse(const char *text);
const char *atlas_position(double latitude, double longitude);
const char *atlas_grid(int index);
}

namespace {

// CA, CB, CC of 3 x 2 cells from 54N 30W to 57N 21W, CD, CE, CF above;
// the bottom-right cell is missing.
const std::string kGrid = CrLfLines({
    "About Demo grid", "Chart 1", "Quadtype 0", "NrOfQuadsX 3", "NrOfQuadsY 2", "DownLeftPos 54'00 30'00",
    "UpRightPos 57'00 21'00", "QuadName CA,CB,CC", "QuadName CD,CE,CF", "QuadDefinitions", "Type 0", "FormX 3",
    "FormY 2", "Numbers:", "11,12,13,", "21,22,-1"});

class AtlasCore : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::vector<unsigned char> bytes = Scrambled(kGrid);
        ASSERT_STREQ(atlas_add_grid("demo.bin", bytes.data(), static_cast<int>(bytes.size())), "{\"ok\":true}");
    }
};

TEST_F(AtlasCore, GridsThatDoNotLoadAreRefusedWithTheToolsMessage)
{
    std::vector<unsigned char> faulty = Scrambled(CrLfLines({"About nothing"}));
    std::string answer = atlas_add_grid("faulty.bin", faulty.data(), static_cast<int>(faulty.size()));
    EXPECT_EQ(answer.find("{\"ok\":false,\"message\":\"data file 'faulty.bin' is faulty"), 0u) << answer;
    EXPECT_EQ(std::string(atlas_add_grid("empty.bin", faulty.data(), -1)).find("{\"ok\":false"), 0u);
    EXPECT_EQ(LoadedGrids().size(), 1u);
}

// Each answer holds the line orvanta-convert prints and the squares from
// the large square down to the code's own.
TEST_F(AtlasCore, ConversionsSayWhatOrvantaConvertPrints)
{
    const struct {
        const char *Text;
        int Squares;
    } cases[] = {
        {"CA 1155", 3}, {"Qu. ca-11", 2}, {"CE", 1}, {"CA2399", 0}, {"XX1111", 0}, {"AM 19 6", 0}, {"", 0},
        {"\xC4J 1155", 0}, {"ca\xff", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Text);
        std::string answer = atlas_convert(c.Text);
        ConversionResult result = ConvertInGrids(c.Text);
        EXPECT_NE(answer.find("\"line\":" + JsonQuote(FormatResultLine(result, OutputFormat::DegreesMinutes))),
                  std::string::npos) << answer;
        size_t squares = answer.find("\"squares\":[");
        ASSERT_NE(squares, std::string::npos);
        int boxes = 0;
        for (size_t at = squares + 10; (at = answer.find("[", at + 1)) != std::string::npos;)
            ++boxes;
        EXPECT_EQ(boxes, c.Squares) << answer;
        if (result.Status == ConvertStatus::Converted)
            EXPECT_NE(answer.find("\"latitude_dms\":" + JsonQuote(LatitudeText(result, OutputFormat::Dms))),
                      std::string::npos) << answer;
        else
            EXPECT_NE(answer.find("\"message\":" + JsonQuote(ConvertMessage(result))), std::string::npos) << answer;
    }
}

TEST_F(AtlasCore, PositionsGiveTheCodesOrTheReadersMessage)
{
    const struct {
        const char *Text;
        const char *Part;
    } cases[] = {
        {"54.04,-29.95", "\"code\":\"CA2177\""},
        {"54°02'30\"N 29°56'40\"W", "\"code\":\"CA2177\""},
        {"0,0", "\"message\":\"outside the grid of demo.bin\",\"codes\":[]"},
        {"foo", "\"message\":\"cannot read 'foo' as a latitude\",\"codes\":[]"},
        {"", "\"codes\":[]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_NE(std::string(atlas_reverse(c.Text)).find(c.Part), std::string::npos) << atlas_reverse(c.Text);
    }
    EXPECT_STREQ(atlas_position(56.75, -14),
                 "{\"latitude\":\"56°45.00 N\",\"longitude\":\"14°0.00 W\",\"latitude_decimal\":\"56.750000\","
                 "\"longitude_decimal\":\"-14.000000\",\"latitude_dms\":\"56°45'00\\\"N\","
                 "\"longitude_dms\":\"14°00'00\\\"W\"}");
}

TEST_F(AtlasCore, GridLayoutForDrawing)
{
    std::string grid = atlas_grid(0);
    EXPECT_NE(grid.find("[\"CA\",1,54,-30,55.5,-27,0]"), std::string::npos) << grid;
    EXPECT_NE(grid.find("\"forms\":{\"0\":[3,2,[11,12,13,21,22,-1]]}"), std::string::npos) << grid;
    EXPECT_NE(grid.find("\"small\":[11,12,13,21,22,23,31,32,33,14,"), std::string::npos) << grid;
    for (int index : {-1, 1, 1 << 30})
        EXPECT_STREQ(atlas_grid(index), "null");
}

} // namespace
