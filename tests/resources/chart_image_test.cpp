// Checks on the committed world chart (bitmap resource 138): file layout,
// palette, and registration against the chart view's own pixel arithmetic.
//
// The chart view puts the pixel (x + 170, y + 180) under its cross-hair, with
//   x = trunc(627 - longitudeMinutesWest * 0.06156866666666666)
//   y = trunc(379 - MercatorOrdinate(latitudeDegrees) * 3.676)
// so every geographic point below is mapped exactly the way the program maps
// it, and the pixel found there must carry the expected palette index.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifndef ORVANTA_RESOURCE_DIR
#error "ORVANTA_RESOURCE_DIR must name the resources folder"
#endif

namespace {

constexpr int kWidth = 1598;
constexpr int kHeight = 1072;

enum Index : int { kBorder = 0, kWhite = 1, kLand = 2, kSea = 3, kRed = 4, kRiver = 5, kCoast = 6 };

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
int32_t S32(const std::vector<unsigned char>& b, size_t at) { return int32_t(U32(b, at)); }
uint16_t U16(const std::vector<unsigned char>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

// The same constants and order of operations as the chart view.
double MercatorOrdinate(double latitudeDegrees) {
    return std::log(std::tan(latitudeDegrees * 0.017453292522222223 * 0.5 + 0.7853981635)) *
           57.29577950560105;
}

struct Pixel {
    int column;
    int row;  // counted from the top
};

// Latitude north positive, longitude EAST positive (as atlases give it); the
// program counts minutes west positive, hence the sign change.
Pixel ChartPixel(double latNorth, double lonEast) {
    const double minutesWest = -lonEast * 60.0;
    const int x = static_cast<int>(627.0 - minutesWest * 0.06156866666666666);
    const int y = static_cast<int>(379.0 - MercatorOrdinate(latNorth) * 3.676);
    return {x + 170, y + 180};
}

class ChartImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes_ = new std::vector<unsigned char>(ReadFile(std::string(ORVANTA_RESOURCE_DIR) + "/chart.bmp"));
    }
    static void TearDownTestSuite() {
        delete bytes_;
        bytes_ = nullptr;
    }
    const std::vector<unsigned char>& b() const { return *bytes_; }

    // Palette index of a pixel, rows counted from the top. The file stores
    // rows bottom-up, two pixels a byte with the left one in the high nibble.
    int IndexAt(int column, int row) const {
        const size_t stride = ((kWidth * 4 + 31) / 32) * 4;
        const size_t fileRow = size_t(kHeight - 1 - row);
        const unsigned char v = b()[U32(b(), 10) + fileRow * stride + size_t(column / 2)];
        return (column % 2 == 0) ? (v >> 4) : (v & 0x0F);
    }
    bool InChart(Pixel p) const {
        return p.column >= 0 && p.column < kWidth && p.row >= 0 && p.row < kHeight;
    }

    static std::vector<unsigned char>* bytes_;
};
std::vector<unsigned char>* ChartImage::bytes_ = nullptr;

TEST(ChartPixelMapping, MatchesTheChartViewArithmetic) {
    // Cross-checks the helper itself against positions whose window corner
    // the chart view documents (corner + (170, 180) is the cross-hair pixel).
    struct Case {
        double lat, lonEast;
        int column, row;
    } cases[] = {
        {55.0, -21.0, 549 + 170, 135 + 180},  // initial centre 55N 21W
        {0.0, 0.0, 627 + 170, 378 + 180},     // equator at Greenwich: row 558, not 559
        {75.0, 10.0, 663 + 170, -48 + 180},
        {-4300 / 60.0, -180.0, -37 + 170, 763 + 180},
        {2000 / 60.0, 180.0, 1291 + 170, 248 + 180},
    };
    for (const Case& c : cases) {
        const Pixel p = ChartPixel(c.lat, c.lonEast);
        EXPECT_EQ(p.column, c.column) << c.lat << "," << c.lonEast;
        EXPECT_EQ(p.row, c.row) << c.lat << "," << c.lonEast;
    }
}

TEST_F(ChartImage, HeaderIsA4BitUncompressedBitmapOfTheChartSize) {
    const size_t stride = ((kWidth * 4 + 31) / 32) * 4;
    ASSERT_GE(b().size(), 54u) << "resources/chart.bmp missing or truncated";
    EXPECT_EQ(b()[0], 'B');
    EXPECT_EQ(b()[1], 'M');
    EXPECT_EQ(U32(b(), 2), b().size());   // bfSize
    EXPECT_EQ(U32(b(), 14), 40u);         // BITMAPINFOHEADER
    EXPECT_EQ(S32(b(), 18), kWidth);
    EXPECT_EQ(S32(b(), 22), kHeight);     // positive: bottom-up rows
    EXPECT_EQ(U16(b(), 26), 1);           // planes
    EXPECT_EQ(U16(b(), 28), 4);           // bits per pixel
    EXPECT_EQ(U32(b(), 30), 0u);          // BI_RGB
    const uint32_t used = U32(b(), 46);
    EXPECT_TRUE(used == 7 || used == 16) << used;
    const uint32_t entries = used == 0 ? 16 : used;
    EXPECT_EQ(U32(b(), 10), 14 + 40 + 4 * entries);  // pixels right after the palette
    EXPECT_EQ(b().size(), 14 + 40 + 4 * entries + stride * kHeight);
}

TEST_F(ChartImage, PaletteHoldsTheSevenChartColoursInOrder) {
    ASSERT_GE(b().size(), 54u + 7 * 4);
    const uint32_t rgb[7] = {0x000000, 0xFFFFFF, 0xE2CE5C, 0x7FB1B7, 0xF70824, 0x48B7B1, 0x593030};
    for (int i = 0; i < 7; ++i) {
        const size_t at = 54 + 4 * size_t(i);  // RGBQUAD: blue, green, red, reserved
        const uint32_t got = uint32_t(b()[at + 2]) << 16 | uint32_t(b()[at + 1]) << 8 | b()[at];
        EXPECT_EQ(got, rgb[i]) << "palette index " << i;
    }
}

TEST_F(ChartImage, UsesOnlyTheChartIndicesInPlausibleShares) {
    ASSERT_GT(b().size(), 54u);
    long count[16] = {};
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c < kWidth; ++c) ++count[IndexAt(c, r)];
    EXPECT_EQ(count[kWhite], 0);
    EXPECT_EQ(count[kRed], 0);
    for (int i = 7; i < 16; ++i) EXPECT_EQ(count[i], 0) << "index " << i;
    const double total = double(kWidth) * kHeight;
    // Every feature class is present; sea dominates, as on any world chart.
    EXPECT_GT(count[kSea] / total, 0.55);
    EXPECT_LT(count[kSea] / total, 0.80);
    EXPECT_GT(count[kLand] / total, 0.15);
    EXPECT_GT(count[kCoast], 10000);
    EXPECT_GT(count[kRiver], 1000);
    EXPECT_GT(count[kBorder], 1000);
}

struct Place {
    const char* name;
    double lat;      // degrees, north positive
    double lonEast;  // degrees, east positive; beyond +-180 for the repeated edges
    int index;
};

// Places far from any coast, border or river on a chart of this scale.
const Place kOpenPlaces[] = {
    {"North Atlantic 40N 40W", 40, -40, kSea},
    {"Indian Ocean 30S 100E", -30, 100, kSea},
    {"Gulf of Guinea 0N 0E (Greenwich, equator row)", 0, 0, kSea},
    {"North Pacific 30N 140W", 30, -140, kSea},
    {"South Pacific 50S 120W", -50, -120, kSea},
    {"Arabian Sea 15N 65E", 15, 65, kSea},
    {"Irminger Sea 60N 35W", 60, -35, kSea},
    {"Norwegian Sea 70N 0E", 70, 0, kSea},
    {"South Atlantic 35S 15W", -35, -15, kSea},
    {"Ionian Sea 35N 18E", 35, 18, kSea},
    {"Pacific off Panama 5N 80W", 5, -80, kSea},
    {"Pacific east of Japan 40N 150E", 40, 150, kSea},
    {"Pacific, left edge: 10N 160E shown at 200W", 10, -200, kSea},
    {"Pacific, left edge: 40S 145E shown at 215W", -40, -215, kSea},
    {"Pacific, left edge: equator at 212.9W", 0, -212.9, kSea},
    {"Pacific, right edge: 10N 160W shown at 200E", 10, 200, kSea},
    {"Pacific, right edge: equator at 145W shown at 215E", 0, 215, kSea},
    {"Central Africa 7N 20E", 7, 20, kLand},
    {"Congo basin 0N 20E (equator row)", 0, 20, kLand},
    {"Sahara 25N 0E (Greenwich column)", 25, 0, kLand},
    {"Sahara 25N 15E", 25, 15, kLand},
    {"Arabia 22N 47E", 22, 47, kLand},
    {"Australia 25S 135E", -25, 135, kLand},
    {"Brazil 10S 55W", -10, -55, kLand},
    {"Siberia 65N 100E", 65, 100, kLand},
    {"India 20N 80E", 20, 80, kLand},
    {"New Mexico 35N 105W", 35, -105, kLand},
    {"Canada 62N 110W", 62, -110, kLand},
    {"Greenland 75N 40W", 75, -40, kLand},
    {"Antarctica 75S 0E", -75, 0, kLand},
    {"New Zealand 45S 170E", -45, 170, kLand},
};

TEST_F(ChartImage, OpenSeaAndInlandPlacesHaveTheirColour) {
    ASSERT_GT(b().size(), 54u);
    for (const Place& p : kOpenPlaces) {
        const Pixel px = ChartPixel(p.lat, p.lonEast);
        ASSERT_TRUE(InChart(px)) << p.name;
        EXPECT_EQ(IndexAt(px.column, px.row), p.index)
            << p.name << " at column " << px.column << ", row " << px.row;
    }
}

// Capes and coastal towns: the coastline must pass within one pixel (about
// 30 km at the equator, less further north) of where the formulas put them.
const Place kCoastalPlaces[] = {
    {"Cape Agulhas", -34.83, 20.00, kCoast},
    {"Land's End", 50.07, -5.71, kCoast},
    {"Cabo da Roca", 38.78, -9.50, kCoast},
    {"Cape Finisterre", 42.88, -9.27, kCoast},
    {"Cape Race", 46.66, -53.07, kCoast},
    {"Cape Farewell", 59.77, -43.90, kCoast},
    {"Cape Dezhnev", 66.08, -169.65, kCoast},
    {"Cape Dezhnev, repeated at the right edge", 66.08, 190.35, kCoast},
    {"Point Barrow", 71.39, -156.48, kCoast},
    {"Point Barrow, repeated at the right edge", 71.39, 203.52, kCoast},
    {"Cape York", -10.69, 142.53, kCoast},
    {"Cape Leeuwin", -34.37, 115.14, kCoast},
    {"Cape Comorin", 8.08, 77.55, kCoast},
    {"Ras Hafun", 10.44, 51.41, kCoast},
    {"Cap-Vert (Dakar)", 14.72, -17.53, kCoast},
    {"Valparaiso", -33.03, -71.63, kCoast},
};

TEST_F(ChartImage, CoastlinePassesWithinOnePixelOfCoastalPlaces) {
    ASSERT_GT(b().size(), 54u);
    for (const Place& p : kCoastalPlaces) {
        const Pixel px = ChartPixel(p.lat, p.lonEast);
        ASSERT_TRUE(InChart(px)) << p.name;
        bool found = false;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
                if (IndexAt(px.column + dc, px.row + dr) == p.index) found = true;
        EXPECT_TRUE(found) << p.name << " at column " << px.column << ", row " << px.row;
    }
}

TEST_F(ChartImage, BothEdgesRepeatTheSameLongitudes) {
    // 360 degrees are 1329.88 columns: the leftmost 268 columns show again at
    // the right edge. Sampling differs by a fraction of a pixel, so a few
    // coastline pixels may differ, but nearly all must agree.
    ASSERT_GT(b().size(), 54u);
    const int shift = 1330;
    long same = 0, total = 0;
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c + shift < kWidth; ++c) {
            ++total;
            if (IndexAt(c, r) == IndexAt(c + shift, r)) ++same;
        }
    EXPECT_GT(double(same) / double(total), 0.98) << same << " of " << total;
}

}  // namespace
