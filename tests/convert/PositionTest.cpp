// The position of a small square's centre and its texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "GridFixture.h"
#include "convert/ConvertCode.h"
#include "convert/DecimalFormat.h"
#include "convert/GridLookup.h"
#include "convert/Position.h"

namespace {

class PositionTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConversionState(); }
};

std::string Latitude(double minutes)
{
    char text[kPositionTextSize];
    std::memset(text, 'x', sizeof text);
    FormatLatitude(minutes, text);
    return text;
}

std::string Longitude(double minutes)
{
    char text[kPositionTextSize];
    std::memset(text, 'x', sizeof text);
    FormatLongitude(minutes, text);
    return text;
}

// The texts replace the byte 0xB0 by "°" to keep the table readable.
std::string Readable(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\xB0' ? std::string("°") : std::string(1, c);
    return out;
}

TEST_F(PositionTest, WorkedExample)
{
    int cd = AddWorkedExampleQuad();
    ASSERT_EQ(LocateSubsquare("CD1234", static_cast<int16_t>(cd)), kLocateFound);
    GridPosition p = ComputePosition(static_cast<int16_t>(cd));

    // The same steps written out: double arithmetic on the float inputs.
    double fracY = static_cast<float>(79.0 / 81.0), fracX = static_cast<float>(15.0 / 81.0);
    EXPECT_EQ(p.Latitude, (fracY * 486.0 + 2916.0) + 486.0 / 81 * 0.5);
    EXPECT_EQ(p.Longitude, (fracX * -729.0 + 1800.0) + -729.0 / 81 * 0.5);
    EXPECT_NEAR(p.Latitude, 3393.0000072, 1e-6);
    EXPECT_NEAR(p.Longitude, 1660.5000044, 1e-6);
    EXPECT_GT(p.Latitude, 3393.0) << "not rounded through a float";

    EXPECT_EQ(Latitude(p.Latitude), "56\xB0" "33.00 N");
    EXPECT_EQ(Longitude(p.Longitude), "27\xB0" "40.50 W");
    EXPECT_EQ(std::trunc(p.Latitude), 3393);
    EXPECT_EQ(std::trunc(p.Longitude), 1660);
}

// Every value of the format table, as latitude and as longitude.
TEST_F(PositionTest, FormatTable)
{
    const struct {
        double Value;
        const char *Lat, *Lon;
    } cases[] = {
        {3307.5, "55°7.50 N", "55°7.50 W"},     {3300, "55°0.00 N", "55°0.00 W"},
        {3299.996, "55°0.00 N", "55°0.00 W"}, {1260, "21°0.00 N", "21°0.00 W"},
        {12.125, "0°12.13 N", "0°12.13 W"},     {0, "0°0.00 N", "0°0.00 W"},
        {-0.004, "0°0.00 S", "0°0.00 E"},       {-0.5, "0°0.50 S", "0°0.50 E"},
        {-30, "0°30.00 S", "0°30.00 E"},        {-45.25, "0°45.25 S", "0°45.25 E"},
        {-100.5, "1°40.50 S", "1°40.50 E"},     {-120, "2°0.00 S", "2°0.00 E"},
        {-0.0, "0°0.00 N", "0°0.00 W"},         {-10805.25, "180°5.25 S", "180°5.25 E"},
        {5405.25, "90°5.25 N", "90°5.25 W"},    {545.25, "9°5.25 N", "9°5.25 W"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Readable(Latitude(c.Value)), c.Lat) << c.Value;
        EXPECT_EQ(Readable(Longitude(c.Value)), c.Lon) << c.Value;
    }
}

// Halves and near-halves of the minutes round on the 17-digit expansion:
// exact halves go up (where a round-to-even library would not), values a
// hair below a half stay down unless 17 digits already reach the half.
TEST_F(PositionTest, MinutesRoundHalfUp)
{
    const struct {
        double Value;
        const char *Lat;
    } cases[] = {
        {60 + 0.125, "1°0.13 N"},      {60 + 0.375, "1°0.38 N"},
        {60 + 0.625, "1°0.63 N"},      {0.875, "0°0.88 N"},
        {12.135, "0°12.14 N"},         {12.145, "0°12.15 N"}, // 12.1449999999999995737 -> 17 digits 12.145000000000000
        {0.005, "0°0.01 N"},           {0.0049999999, "0°0.00 N"},
        {59.995, "0°59.99 N"},         {59.99500000001, "1°0.00 N"},
        {3599.995, "59°59.99 N"},      {-0.125, "0°0.13 S"},
        {-12.125, "0°12.13 S"},        {-3307.5, "55°7.50 S"},
        {10799.99, "179°59.99 N"},     {-10800, "180°0.00 S"},
        {5999.999, "100°0.00 N"},      {6000, "100°0.00 N"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Readable(Latitude(c.Value)), c.Lat) << c.Value;
}

// Positions within 180 degrees never take more than 11 characters.
TEST_F(PositionTest, TextLengthWithin180Degrees)
{
    size_t longest = 0;
    for (double v = -10800; v <= 10800; v += 0.37) {
        longest = std::max(longest, Latitude(v).size());
        longest = std::max(longest, Longitude(v).size());
    }
    EXPECT_EQ(longest, 11u);
    EXPECT_EQ(Readable(Longitude(-10799.999)), "180°0.00 E");
}

// The texts of ordinary values take a shortcut; it gives the text built
// from the exact expansions, also next to halves of a hundredth and next
// to whole degrees.
TEST_F(PositionTest, ShortcutTextsAgreeWithTheExactPath)
{
    uint64_t state = 0x2545F4914F6CDD1Dull;
    for (int i = 0; i < 100000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        double base = static_cast<double>(state % 2160000) / 100.0 - 10800.0;
        double nudges[] = {0, 0.005, 0.005 + 1e-9, 0.005 - 1e-9, -1e-7, 59.996};
        double value = (i % 4 == 0) ? std::floor(base / 60) * 60 + nudges[i % 6] : base;
        double degrees = std::trunc(value * 0.016666666666666666);
        double minutes = value - degrees * 60.0;
        if (value < 0)
            degrees = std::fabs(degrees), minutes = std::fabs(minutes);
        char whole[64], tail[64];
        FormatFixedExact(minutes, 2, tail, sizeof tail);
        if (std::strcmp(tail, "60.00") == 0) {
            degrees += 1;
            std::strcpy(tail, "0.00");
        }
        FormatWholeExact(degrees, whole, sizeof whole);
        std::string expected = std::string(whole) + "\xB0" + tail + (value < 0 ? " S" : " N");
        ASSERT_EQ(Latitude(value), expected) << value;
    }
}

// Values far outside the globe, as a data file's floats may give, print
// their whole degrees exactly and stay inside the buffer.
TEST_F(PositionTest, ExtremeValuesStayInTheBuffer)
{
    const struct {
        double Value;
        const char *Lat;
    } cases[] = {
        {1966020, "32767°0.00 N"},
        {1966080, "32768°0.00 N"},
        {-1966140, "32769°0.00 S"},
        {6e10, "1000000000°0.00 N"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Readable(Latitude(c.Value)), c.Lat) << c.Value;

    const double extremes[] = {3.4028234663852886e38,  -3.4028234663852886e38, 7e38, 1e300, -1e308,
                               HUGE_VAL, -HUGE_VAL, std::nan(""), 4.9e-324, -4.9e-324};
    for (double v : extremes) {
        char text[kPositionTextSize + 8];
        std::memset(text, 'x', sizeof text);
        FormatLatitude(v, text);
        EXPECT_LT(std::strlen(text), static_cast<size_t>(kPositionTextSize)) << v;
        for (int i = kPositionTextSize; i < kPositionTextSize + 8; ++i)
            EXPECT_EQ(text[i], 'x') << v;
        char last = text[std::strlen(text) - 1];
        EXPECT_TRUE(last == 'N' || last == 'S') << v << ": " << text;
    }
    EXPECT_EQ(Readable(Latitude(7e38)).substr(0, 12), "116666666666");
}

// The centre of a small square lies half a square inside its corner,
// in the direction the quad extends.
TEST_F(PositionTest, CentresOfSquares)
{
    SetForm(0, 2, 1, {11, 12});
    AddQuad("SW", 0, 3240, 1800, 90, -180); // extends north and east
    AddQuad("NE", 0, 3420, 1260, -90, 180); // extends south and west
    AddQuad("SE", 0, -600, -300, 90, -180); // south of the equator, east of Greenwich
    const struct {
        int Quad;
        const char *Code;
        double Lat, Lon;
    } cases[] = {
        {0, "SW1177", 3240 + 5.0, 1800 - 5.0},
        {0, "SW1233", 3240 + 80 + 5.0, 1800 - 90 - 80 - 5.0},
        {1, "NE1177", 3420 - 5.0, 1260 + 5.0},
        {2, "SE1255", -600 + 40 + 5.0, -300 - 90 - 40 - 5.0},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(LocateSubsquare(c.Code, static_cast<int16_t>(c.Quad)), kLocateFound) << c.Code;
        GridPosition p = ComputePosition(static_cast<int16_t>(c.Quad));
        EXPECT_NEAR(p.Latitude, c.Lat, 1e-4) << c.Code; // fractions are floats
        EXPECT_NEAR(p.Longitude, c.Lon, 1e-4) << c.Code;
    }
    EXPECT_EQ(Readable(Latitude(-555)), "9°15.00 S");
    EXPECT_EQ(Readable(Longitude(-435)), "7°15.00 E");
}

// A quad written across the 180th meridian (its corner at 178 deg 42' E,
// 8.1 degrees wide, so reaching to 186 deg 48' E) gives longitudes within
// +-180 degrees; so does its mirror, written from 178 deg 42' W westward.
TEST_F(PositionTest, AcrossTheDateLine)
{
    SetStandardForm(0);
    AddQuad("QL", 0, 1056, -10722, 486, -486);
    AddQuad("QM", 0, 1056, 10722, 486, 486);
    const struct {
        int Quad;
        const char *Code;
        const char *Longitude;
    } cases[] = {
        {0, "QL1111", "178°45.00 E"},
        {0, "QL1254", "179°57.00 E"},
        {0, "QL1255", "179°57.00 W"},
        {0, "QL9999", "173°15.00 W"},
        {1, "QM1254", "179°57.00 W"},
        {1, "QM1255", "179°57.00 E"},
        {1, "QM9999", "173°15.00 E"},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(LocateSubsquare(c.Code, static_cast<int16_t>(c.Quad)), kLocateFound) << c.Code;
        GridPosition p = ComputePosition(static_cast<int16_t>(c.Quad));
        EXPECT_LE(std::fabs(p.Longitude), 10800.0) << c.Code;
        EXPECT_EQ(Readable(Longitude(p.Longitude)), c.Longitude) << c.Code;
    }
}

// A large square or cell of several records is the box around all of
// them: AB's two records lie side by side on charts 1 and 2 and share cell
// 11; XB's two records lie on either side of the 180th meridian.
TEST_F(PositionTest, CoarseCodesCoverEveryRecord)
{
    SetForm(0, 2, 1, {11, 12});
    SetForm(1, 2, 1, {11, 13});
    AddQuad("AB", 0, 0, 120, 60, -60, 1);
    AddQuad("AB", 1, 30, 60, 60, -60, 2);
    AddQuad("XB", 0, 0, -10740, 60, -120);
    AddQuad("XB", 0, 0, 10740, 60, -60);
    const struct {
        const char *Code;
        int Quad, Chart;
        double Lat, Lon, South, West, North, East;
    } cases[] = {
        {"AB", 0, 2, 45, 60, 0, 120, 90, 0},
        {"AB11", 0, 2, 45, 75, 0, 120, 90, 30},
        {"AB12", 0, 1, 30, 75, 0, 90, 60, 60},
        {"AB13", 1, 2, 60, 15, 30, 30, 90, 0},
        {"XB", 2, 1, 30, 10770, 0, -10740, 60, -10920},
    };
    for (const auto &c : cases) {
        ConversionResult r = ConvertWrittenCode(c.Code);
        EXPECT_EQ(r.QuadIndex, c.Quad) << c.Code;
        EXPECT_EQ(r.Chart, c.Chart) << c.Code;
        const double got[] = {r.Position.Latitude, r.Position.Longitude, r.Bounds.South,
                              r.Bounds.West,       r.Bounds.North,       r.Bounds.East};
        const double want[] = {c.Lat, c.Lon, c.South, c.West, c.North, c.East};
        for (int i = 0; i < 6; ++i)
            EXPECT_DOUBLE_EQ(got[i], want[i]) << c.Code << " value " << i;
    }
}

} // namespace
