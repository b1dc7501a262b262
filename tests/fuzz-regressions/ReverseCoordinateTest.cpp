// orvanta-convert --reverse: a coordinate text that ends right after its
// number once made the degree-sign test read two bytes at the terminator,
// one past the end of the text (found by the orvanta_convert_reverse fuzz
// target; the sanitized build reports any read past the text).  The texts
// are longer than a short string's inline buffer, so each lives on the heap
// with nothing after its terminator.
#include <gtest/gtest.h>

#include <string>

#include "tools/orvanta-convert/CoordinateText.h"

namespace {

struct CoordinateCase {
    const char *text;
    bool isLatitude;
    bool readable;
    double minutes;
};

TEST(FuzzRegressionReverseCoordinate, TextEndingAfterItsNumber)
{
    const CoordinateCase cases[] = {
        {"11111111111111155", true, false, 0},           // the fuzzer's input: far beyond 90 degrees
        {"000000000000000055", true, true, 3300},        // 55 degrees north
        {"-00000000000000012.5", false, true, 750},      // 12.5 degrees east: 750 minutes, west positive
        {"000000000000000055\xC2", true, false, 0},      // half a UTF-8 degree sign at the end
        {"000000000000000055\xC2\xB0", true, true, 3300}, // a whole one, nothing after it
        {"000000000000000055\xB0", true, true, 3300},     // the Windows-1252 degree sign
    };
    for (const CoordinateCase &c : cases) {
        std::string text = c.text; // a heap copy that ends at its terminator
        double minutes = -1;
        EXPECT_EQ(ParseCoordinate(text, c.isLatitude, minutes), c.readable) << c.text;
        if (c.readable) {
            EXPECT_DOUBLE_EQ(minutes, c.minutes) << c.text;
        }
    }
}

} // namespace
