// Exact decimal expansions and the half-up fixed-point texts built on them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "convert/DecimalFormat.h"

namespace {

std::string Expansion(double value)
{
    ExactDecimal d;
    if (!ExpandExactly(value, d))
        return "none";
    return std::string(d.Negative ? "-" : "") + "0." + std::string(d.Digits, d.Count) + "e" +
           std::to_string(d.Point);
}

std::string Fixed(double value, int decimals)
{
    char text[128];
    FormatFixed(value, decimals, text, sizeof text);
    return text;
}

TEST(DecimalFormatTest, ExactExpansions)
{
    const struct {
        double Value;
        const char *Text;
    } cases[] = {
        {0, "0.e0"},
        {1, "0.1e1"},
        {-2.5, "-0.25e1"},
        {12.125, "0.12125e2"},
        {0.1, "0.1000000000000000055511151231257827021181583404541015625e0"},
        {1e23, "0.99999999999999991611392e23"},
        {9007199254740993.0, "0.9007199254740992e16"},
        {std::ldexp(1.0, 70), "0.1180591620717411303424e22"},
        {0.001, "0.1000000000000000020816681711721685132943093776702880859375e-2"},
        {HUGE_VAL, "none"},
        {std::nan(""), "none"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Expansion(c.Value), c.Text) << c.Value;

    ExactDecimal d;
    ASSERT_TRUE(ExpandExactly(4.9406564584124654e-324, d));
    EXPECT_EQ(d.Count, 751);
    EXPECT_EQ(d.Point, -323);
    EXPECT_EQ(std::string(d.Digits, 6), "494065");
    ASSERT_TRUE(ExpandExactly(1.7976931348623157e308, d));
    EXPECT_EQ(d.Point, 309);
    EXPECT_EQ(std::string(d.Digits, 6), "179769");
}

TEST(DecimalFormatTest, FixedTexts)
{
    const struct {
        double Value;
        int Decimals;
        const char *Text;
    } cases[] = {
        {12.125, 2, "12.13"},      {0.125, 2, "0.13"},      {2.5, 0, "3"},
        {0.5, 0, "1"},             {0.49, 0, "0"},          {0, 2, "0.00"},
        {-0.0, 2, "0.00"},         {-0.001, 2, "-0.00"},    {-1.005, 2, "-1.00"} /* -1.00499999999999989 */,
        {99.995, 2, "100.00"},     {9.9999, 2, "10.00"},    {0.0001, 2, "0.00"},
        {0.009, 2, "0.01"},        {1e-300, 6, "0.000000"}, {123456.7, 6, "123456.700000"},
        {0.0078125, 6, "0.007813"}, {-55.2, 6, "-55.200000"}, {1e20, 2, "100000000000000000000.00"},
        {1.0000000000000002, 15, "1.000000000000000"}, {HUGE_VAL, 2, "inf"}, {-HUGE_VAL, 2, "-inf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Fixed(c.Value, c.Decimals), c.Text) << c.Value << " with " << c.Decimals;
}

// Where no tie is involved, the texts agree with the C library's.
TEST(DecimalFormatTest, AgreesWithPrintfAwayFromTies)
{
    for (double v = -5000; v < 5000; v += 0.0173) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f", v);
        double hundredths = std::fabs(v) * 100;
        if (std::fabs(hundredths - std::floor(hundredths) - 0.5) < 1e-6)
            continue;
        ASSERT_EQ(Fixed(v, 2), expected) << v;
    }
}

TEST(DecimalFormatTest, WholeNumbers)
{
    const struct {
        double Value;
        const char *Text;
    } cases[] = {
        {0, "0"},          {-0.0, "0"},        {0.99, "0"},
        {32768, "32768"},  {-12.7, "-12"},     {1e20, "100000000000000000000"},
        {std::ldexp(1.0, 70), "1180591620717411303424"}, {std::ldexp(-1.0, 64), "-18446744073709551616"},
        {std::nan(""), "nan"},
    };
    for (const auto &c : cases) {
        char text[64];
        FormatWhole(c.Value, text, sizeof text);
        EXPECT_EQ(std::string(text), c.Text) << c.Value;
    }
}

// Texts longer than their buffer are cut, and always terminated.
TEST(DecimalFormatTest, CutToFit)
{
    char text[8];
    std::memset(text, 'x', sizeof text);
    FormatFixed(123456789.125, 2, text, 6);
    EXPECT_STREQ(text, "12345");
    EXPECT_EQ(text[6], 'x');
    FormatWhole(1e300, text, 4);
    EXPECT_STREQ(text, "100");
    FormatFixed(1.0, 2, text, 0);
    EXPECT_STREQ(text, "100") << "nothing written to an empty buffer";
}

} // namespace

namespace {

// Whole numbers with a point before their last digits, as the shortcuts
// write them.
TEST(DecimalFormatTest, ScaledWholeNumbers)
{
    const struct {
        uint64_t Number;
        int Decimals;
        const char *Text;
    } cases[] = {
        {0, 0, "0"},          {0, 2, "0.00"},       {5, 2, "0.05"},        {1250, 2, "12.50"},
        {9, 0, "9"},          {10, 0, "10"},        {123456, 6, "0.123456"}, {1234567, 6, "1.234567"},
        {18446744073709551615ull, 0, "18446744073709551615"},
        {7, -3, "7"},         {7, 9, "0.000007"}, // decimals taken to 0..6
    };
    for (const auto &c : cases) {
        char text[32];
        std::memset(text, 'x', sizeof text);
        char *end = WriteScaled(c.Number, c.Decimals, text);
        EXPECT_EQ(std::string(text, end), c.Text) << c.Number << " with " << c.Decimals;
        EXPECT_EQ(*end, 'x') << c.Number;
    }
}

// The shortcuts for ordinary values give exactly the digits of the exact
// path: on random values, on values a hair away from halves, and on the
// halves themselves; whole parts on values of every size.
TEST(DecimalFormatTest, ShortcutAgreesWithTheExactPath)
{
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        int decimals = i % 2 ? 2 : 6;
        double base = static_cast<double>(next() % 2000000000) / 1000.0 - 1e6;
        double nudges[] = {0, 5e-13, -5e-13, 2e-10, -2e-10};
        double v = (i % 3 == 0) ? std::floor(base) + 0.005 + nudges[i % 5] : base;
        char fast[64], exact[64];
        FormatFixed(v, decimals, fast, sizeof fast);
        FormatFixedExact(v, decimals, exact, sizeof exact);
        ASSERT_STREQ(fast, exact) << v << " with " << decimals << " decimals";
        // Whole parts around zero, of the degrees' size and up to 2^53 and past it.
        double whole = std::ldexp(base, static_cast<int>(next() % 60) - 20);
        FormatWhole(whole, fast, sizeof fast);
        FormatWholeExact(whole, exact, sizeof exact);
        ASSERT_STREQ(fast, exact) << whole;
    }
}

} // namespace
