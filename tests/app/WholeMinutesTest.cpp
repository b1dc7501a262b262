// Whole minutes for the chart centre: truncation toward zero, and no
// undefined conversion for positions that no real grid holds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/WholeMinutes.h"

namespace {

struct WholeMinutesCase {
    double Minutes;
    int16_t Whole;
};

const WholeMinutesCase kCases[] = {
    {3393.0000071525574, 3393},
    {1660.5000044256449, 1660},
    {-20.000005563100178, -20},
    {-910.0000143051147, -910},
    {-0.5, 0},
    {0.0, 0},
    {32766.99, 32766},
    {32767.0, 32767},
    {32767.99, 32767},
    {32768.0, 32767},
    {-32768.0, -32768},
    {-32768.5, -32768},
    {-32769.0, -32768},
    {1.0e9, 32767},
    {-1.0e9, -32768},
    {std::numeric_limits<double>::max(), 32767},
    {std::numeric_limits<double>::lowest(), -32768},
    {std::numeric_limits<double>::infinity(), 32767},
    {-std::numeric_limits<double>::infinity(), -32768},
};

TEST(WholeMinutes, TruncatesTowardZeroAndSaturates)
{
    for (const WholeMinutesCase &c : kCases) {
        SCOPED_TRACE(c.Minutes);
        EXPECT_EQ(WholeMinutes(c.Minutes), c.Whole);
    }
}

TEST(WholeMinutes, NotANumberGivesZero)
{
    EXPECT_EQ(WholeMinutes(std::nan("")), 0);
}

} // namespace
