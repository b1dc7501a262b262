// The chart view's mapping from a position to the copied window, its shift
// and the cross-hair, including positions at and past the poles.
#include "display/ChartCentre.h"
#include "display/ChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

struct ChartCase {
    const char *what;
    int16_t latitude;   // minutes, north positive
    int16_t longitude;  // minutes, west positive
    int16_t x, y;       // window corner before clamping
    int16_t sourceX, sourceY, dx, dy;
    int crossX, crossY;  // where the arms cross
};

const ChartCase kChartCases[] = {
    {"initial centre", 3300, 1260, 549, 135, 549, 135, 0, 0, 190, 200},
    {"equator at Greenwich", 0, 0, 627, 378, 627, 378, 0, 0, 190, 200},
    {"75 N 10 E: above the top row", 4500, -600, 663, -48, 663, 0, 0, -48, 190, 152},
    {"71:40 S 180 W: left and below", -4300, 10800, -37, 763, 0, 731, -37, 32, 153, 232},
    {"33:20 N 180 E: right of the last column", 2000, -10800, 1291, 248, 1239, 248, 52, 0, 242, 200},
    // At the poles and past them the cross-hair sits on the chart's top or
    // bottom row (window row -180 or 891) instead of an undefined ordinate.
    {"north pole", 5400, 0, 627, -180, 627, 0, 0, -180, 190, 20},
    {"past the north pole", 5401, 0, 627, -180, 627, 0, 0, -180, 190, 20},
    {"largest latitude", INT16_MAX, 0, 627, -180, 627, 0, 0, -180, 190, 20},
    {"just below the pole, beyond the chart", 5399, 0, 627, -180, 627, 0, 0, -180, 190, 20},
    {"south pole", -5400, 0, 627, 891, 627, 731, 0, 160, 190, 360},
    {"smallest latitude", INT16_MIN, 0, 627, 891, 627, 731, 0, 160, 190, 360},
    {"85 S, beyond the chart", -5100, 0, 627, 891, 627, 731, 0, 160, 190, 360},
    // Extreme longitudes stay within 16 bits.
    {"largest longitude", 0, INT16_MAX, -1390, 378, 0, 378, -1390, 0, -1200, 200},
    {"smallest longitude", 0, INT16_MIN, 2644, 378, 1239, 378, 1405, 0, 1595, 200},
};

TEST(ChartGeometry, CornerShiftAndCrossHairForEachPosition) {
    for (const ChartCase &c : kChartCases) {
        SCOPED_TRACE(c.what);
        const ChartCorner corner = ChartCornerFor(c.latitude, c.longitude);
        EXPECT_EQ(corner.x, c.x);
        EXPECT_EQ(corner.y, c.y);
        const ChartPlacement placement = PlaceChartWindow(corner.x, corner.y);
        EXPECT_EQ(placement.sourceX, c.sourceX);
        EXPECT_EQ(placement.sourceY, c.sourceY);
        EXPECT_EQ(placement.dx, c.dx);
        EXPECT_EQ(placement.dy, c.dy);
        ChartLine arms[2];
        CrossHairArms(placement, arms);
        EXPECT_EQ(arms[0].x0, c.crossX - 40);
        EXPECT_EQ(arms[0].x1, c.crossX + 40);
        EXPECT_EQ(arms[0].y0, c.crossY);
        EXPECT_EQ(arms[0].y1, c.crossY);
        EXPECT_EQ(arms[1].x0, c.crossX);
        EXPECT_EQ(arms[1].x1, c.crossX);
        EXPECT_EQ(arms[1].y0, c.crossY - 40);
        EXPECT_EQ(arms[1].y1, c.crossY + 40);
    }
}

// The cross-hair centre always shows chart pixel (x + 170, y + 180), and
// every latitude lands on a chart row.
TEST(ChartGeometry, CrossHairStaysOnTheChartForEveryLatitude) {
    for (int latitude = INT16_MIN; latitude <= INT16_MAX; latitude += 7) {
        const ChartCorner corner = ChartCornerFor(static_cast<int16_t>(latitude), 0);
        const int row = corner.y + kCrossHairRowOffset;
        ASSERT_GE(row, 0) << latitude;
        ASSERT_LT(row, kChartHeight) << latitude;
        const ChartPlacement placement = PlaceChartWindow(corner.x, corner.y);
        ASSERT_EQ(placement.sourceY + kCrossHairY - kChartCopyTop + placement.dy, row) << latitude;
    }
}

// Latitudes further north never sit lower on the chart.
TEST(ChartGeometry, RowsRiseMonotonicallyWithLatitude) {
    int previous = ChartCornerFor(INT16_MIN, 0).y;
    for (int latitude = INT16_MIN + 1; latitude <= INT16_MAX; ++latitude) {
        const int y = ChartCornerFor(static_cast<int16_t>(latitude), 0).y;
        ASSERT_LE(y, previous) << latitude;
        previous = y;
    }
}

// The quarter turn is taken slightly above pi/4, so the equator's ordinate
// is a tiny positive number; 45 degrees has the textbook ordinate.
TEST(ChartGeometry, MercatorOrdinate) {
    const double equator = MercatorOrdinate(0.0);
    EXPECT_GT(equator, 0.0);
    EXPECT_LT(equator, 1e-6);
    EXPECT_NEAR(MercatorOrdinate(45.0), 50.4987, 1e-3);
    EXPECT_NEAR(MercatorOrdinate(-45.0), -50.4987, 1e-3);
}

TEST(ChartGeometry, CentreStartsAt55North21West) {
    EXPECT_EQ(ChartCentre.latitude, 3300);
    EXPECT_EQ(ChartCentre.longitude, 1260);
    EXPECT_EQ(kInitialChartCentre.latitude, 3300);
    EXPECT_EQ(kInitialChartCentre.longitude, 1260);
}

}  // namespace
