// The platform-independent atoi and atof.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data/DecimalText.h"

namespace {

TEST(DecimalText, IntegersReadLikeAtoi)
{
    const struct {
        const char *text;
        long long value;
    } cases[] = {
        {"12", 12}, {"1A", 1}, {"A1", 0}, {" 7", 7}, {"-1", -1}, {"+5", 5},
        {"\t\r\n 42x", 42}, {"", 0}, {"-", 0}, {"--1", 0}, {"99999999999", 99999999999LL},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseIntegerText(c.text), c.value) << c.text;
}

TEST(DecimalText, RealsReadLikeAtof)
{
    const char *cases[] = {
        "54", "30.5", "-20", "0.1", "7.5", "2.4", "-0.5", " 12.125", "0.3333333333",
        "123456789012345", "1.00000000000000000001", "1e3", "-", "", "abc", ".5", "5.",
    };
    for (const char *text : cases)
        EXPECT_EQ(ParseRealText(text), std::atof(text)) << text;
}

TEST(DecimalText, WordsAndHexadecimalReadAsTheClassicLibraryDid)
{
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"nan", 0}, {"-nan", 0}, {"inf", 0}, {"-inf", 0}, {"infinity", 0}, {"0x1A", 0}, {"-0x1p3", 0},
        {"1e2", 100}, {"1.5E-1", 0.15}, {"2e", 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseRealText(c.text), c.value) << c.text;
}

} // namespace
