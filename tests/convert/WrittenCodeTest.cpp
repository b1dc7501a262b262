// Codes as people write them: what each written form names, and what the
// message says about a text that names no code.
#include <gtest/gtest.h>

#include <string>

#include "convert/WrittenCode.h"

namespace {

TEST(WrittenCode, FormsThatNameACode)
{
    const struct {
        const char *Text, *Code;
    } cases[] = {
        {"AM1969", "AM1969"},          {"AM 1969", "AM1969"},       {"AM 19 69", "AM1969"},
        {"AM-1969", "AM1969"},         {"AM.19.69", "AM1969"},      {"AM - 19-69", "AM1969"},
        {" CA6897", "CA6897"},         {"CA6897 \r", "CA6897"},     {"\tam1969\t", "AM1969"},
        {"Qu. AM 1969", "AM1969"},     {"Qu AM1969", "AM1969"},     {"Qu.-AM 1969", "AM1969"},
        {"Quadrat AM 1969", "AM1969"}, {"qu. ca 12 34", "CA1234"},  {"QU 1234", "QU1234"},
        {"QU", "QU"},                  {"Qu QU 96", "QU96"},        {"AM", "AM"},
        {"AM19", "AM19"},              {"am 19", "AM19"},           {"\xC3\x84J1155", "\xC4J1155"},
        {"\xC3\xA4j 11 55", "\xC4J1155"}, {"\xC4J1155", "\xC4J1155"}, {"\xE4j1155", "\xC4J1155"},
        {"AM1969.", "AM1969"},         {"aM1969", "AM1969"},        {"A\xC4", "A\xC4"},
        {"\xC4\xC3\xA4" "12", "\xC4\xC4" "12"},
    };
    for (const auto &c : cases) {
        WrittenCode w = ReadWrittenCode(c.Text);
        EXPECT_TRUE(w.Valid) << c.Text << ": " << w.Fault;
        EXPECT_EQ(w.Code, c.Code) << c.Text;
    }
}

// Each fault names the character and where it is, or the count of digits.
TEST(WrittenCode, FaultsSayWhatIsWrong)
{
    const struct {
        const char *Text, *Fault;
    } cases[] = {
        {"", "no code"},
        {"   ", "no code"},
        {"A", "only one letter"},
        {"1969", "'1' at character 1 where a letter belongs"},
        {"A 1969", "a blank at character 2 where a letter belongs"},
        {"AM196", "3 digits"},
        {"AM1", "1 digit:"},
        {"AM196900", "6 digits"},
        {"AM 1 969", "a blank at character 5 splits a digit pair"},
        {"AM19X9", "'X' at character 5 is not part of a code"},
        {"AM1969/", "'/' at character 7 is not part of a code"},
        {"\xC3\xA9M1969", "'\xC3\xA9' at character 1 where a letter belongs"},
        {"AM\xFF" "1969", "byte 0xFF at character 3 is not part of a code"},
        {"`M1969", "'`' at character 1 where a letter belongs"},
        {"A[1969", "'[' at character 2 where a letter belongs"},
        {"\xC4\x80M1969", "'\xC4\x80' at character 1 where a letter belongs"},
        {"\xC3\x85M1969", "'\xC3\x85' at character 1 where a letter belongs"},
        {"AM19690", "5 digits"},
    };
    for (const auto &c : cases) {
        WrittenCode w = ReadWrittenCode(c.Text);
        EXPECT_FALSE(w.Valid) << c.Text << " read as " << w.Code;
        EXPECT_NE(w.Fault.find(c.Fault), std::string::npos) << c.Text << ": " << w.Fault;
    }
}

} // namespace
