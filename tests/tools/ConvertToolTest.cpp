// The parts of orvanta-convert: options, code normalisation, the
// conversion of one code and the line formats.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ScrambledText.h"
#include "convert/ConvertCode.h"
#include "tools/common/TextEncoding.h"
#include "tools/orvanta-convert/ConvertOptions.h"
#include "tools/orvanta-convert/LineReader.h"
#include "tools/orvanta-convert/LoadMessage.h"
#include "tools/orvanta-convert/ResultFormat.h"

namespace {

// The worked example's quad CD, and a second CD (chart 2) whose form has
// the cells 10, 20, 30 and a place without a cell.
const char *const kGridLines[] = {
    "Chart 1", "Quadtype 0", "NrOfQuadsX 1", "NrOfQuadsY 1", "DownLeftPos 48'36 30'00",
    "UpRightPos 56'42 17'51", "QuadName CD", "Chart 2", "Quadtype 1", "NrOfQuadsX 1", "NrOfQuadsY 1",
    "DownLeftPos -1'00 -2'00", "UpRightPos 1'00 -4'00", "QuadName CD", "QuadDefinitions", "Type 0",
    "FormX 9", "FormY 9", "Numbers:", "11,12,13,21,22,23,31,32,33,", "14,15,16,24,25,26,34,35,36,",
    "17,18,19,27,28,29,37,38,39,", "41,42,43,51,52,53,61,62,63,", "44,45,46,54,55,56,64,65,66,",
    "47,48,49,57,58,59,67,68,69,", "71,72,73,81,82,83,91,92,93,", "74,75,76,84,85,86,94,95,96,",
    "77,78,79,87,88,89,97,98,99", "Type 1", "FormX 2", "FormY 2", "Numbers:", "10,20,", "30,-1",
};

class ConvertToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string plain;
        for (const char *line : kGridLines)
            plain += std::string(line) + "\r\n";
        ASSERT_EQ(LoadPlainText(plain, Grid), kLoadOk);
    }
};

TEST_F(ConvertToolTest, ConvertsAsTheConvertButton)
{
    const struct {
        const char *Code;
        ConvertStatus Status;
        int Quad;
        const char *Lat, *Lon;
    } cases[] = {
        {"CD1234", ConvertStatus::Converted, 0, "56\xB0" "33.00 N", "27\xB0" "40.50 W"},
        {"CD1055", ConvertStatus::Converted, 1, "0\xB0" "30.00 N", "2\xB0" "30.00 E"},
        {"CD123", ConvertStatus::WrongLength, -1, "", ""},
        {"CD12345", ConvertStatus::WrongLength, -1, "", ""},
        {"CD1010", ConvertStatus::PositionNotFound, -1, "", ""},
        {"CD-134", ConvertStatus::PositionNotFound, -1, "", ""},
        {"cd1234", ConvertStatus::GridNotFound, -1, "", ""}, // not normalised here
        {"XY1234", ConvertStatus::GridNotFound, -1, "", ""},
        {"", ConvertStatus::GridNotFound, -1, "", ""},
    };
    for (const auto &c : cases) {
        ConversionResult r = ConvertCode(c.Code);
        EXPECT_EQ(r.Code, c.Code);
        EXPECT_EQ(r.Status, c.Status) << c.Code;
        EXPECT_EQ(r.QuadIndex, c.Quad) << c.Code;
        EXPECT_EQ(r.LatitudeText, c.Lat) << c.Code;
        EXPECT_EQ(r.LongitudeText, c.Lon) << c.Code;
    }
    // A code of more than the code field's 99 characters is still too long.
    EXPECT_EQ(ConvertCode("CD1234" + std::string(200, '5')).Status, ConvertStatus::WrongLength);
}

// The main window shows the messages with their blanks, the tools print
// them trimmed; a code off chart 1 blanks the message field.  The tools
// say what a pair's 0 means where no layout of the square writes one (the
// second CD writes cells 10, 20, 30).
TEST_F(ConvertToolTest, MessagesAsShownAndAsPrinted)
{
    const std::string noPosition = "Position not in database";
    const std::string digits = noPosition + ": the digits of a pair run 1-9 ";
    const struct {
        const char *Code, *Shown;
        std::string Printed, Written;
    } cases[] = {
        {"CD1234", " Ok.", "", ""},
        {"CD1055", "                                ", "", ""},
        {"CD123", " Use 6 chars, example CD1234 ", "Use 6 chars, example CD1234",
         "3 digits: a code has four (a small square), two (a cell) or none (a large square), e.g. AM1969"},
        {"CD1010", " Position not in database  ", noPosition, digits + "(second pair 10)"},
        {"CD1909", " Position not in database  ", noPosition, digits + "(second pair 09)"},
        {"CD0955", " Position not in database  ", noPosition, digits + "(first pair 09)"},
        {"CD4011", " Position not in database  ", noPosition, noPosition},
        {"QQ1234", " Grid not in database.", "Grid not in database.", "Grid not in database."},
    };
    for (const auto &c : cases) {
        ConversionResult r = ConvertCode(c.Code);
        EXPECT_STREQ(ShownMessage(r), c.Shown) << c.Code;
        EXPECT_EQ(ConvertMessage(r), c.Printed) << c.Code;
        EXPECT_EQ(ConvertMessage(ConvertWrittenCode(c.Code)), c.Written) << c.Code;
    }
}

TEST_F(ConvertToolTest, ResultLines)
{
    const struct {
        const char *Code;
        OutputFormat Format;
        const char *Line;
    } cases[] = {
        {"CD1234", OutputFormat::DegreesMinutes, "CD1234\t56\xC2\xB0" "33.00 N\t27\xC2\xB0" "40.50 W"},
        {"\xC4X1234", OutputFormat::DegreesMinutes, "\xC3\x84X1234\tERROR: Grid not in database."},
        {"CD1234", OutputFormat::Decimal, "CD1234\t56.550000\t-27.675000"},
        {"CD1055", OutputFormat::Decimal, "CD1055\t0.500000\t2.500000"},
        {"CD123", OutputFormat::Decimal, "CD123\tERROR: Use 6 chars, example CD1234"},
        {"CD1010", OutputFormat::DegreesMinutes, "CD1010\tERROR: Position not in database"},
        {"QQ1234", OutputFormat::DegreesMinutes, "QQ1234\tERROR: Grid not in database."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatResultLine(ConvertCode(c.Code), c.Format), c.Line) << c.Code;
    // A code longer than the pieces a line is put together in.
    std::string code = "QQ" + std::string(300, '\xB0');
    EXPECT_EQ(FormatResultLine(ConvertCode(code), OutputFormat::Decimal),
              Cp1252ToUtf8(code) + "\tERROR: Grid not in database.");
    EXPECT_EQ(Cp1252ToUtf8(code).size(), 2 + 300 * 2u);
}

// A high byte at every place of short texts: the degree sign, the euro
// sign, an unassigned byte and Ä.
TEST(TextEncodingTest, HighBytesAtEveryPlace)
{
    const struct {
        char Byte;
        const char *Utf8;
    } bytes[] = {{'\xB0', "\xC2\xB0"}, {'\x80', "\xE2\x82\xAC"}, {'\x81', "\xEF\xBF\xBD"}, {'\xC4', "\xC3\x84"}};
    for (const auto &b : bytes)
        for (size_t length = 1; length <= 9; ++length)
            for (size_t at = 0; at < length; ++at) {
                std::string text(length, 'a'), expected(length, 'a');
                text[at] = b.Byte;
                expected.replace(at, 1, b.Utf8);
                EXPECT_EQ(Cp1252ToUtf8(text), expected) << length << " bytes, high at " << at;
            }
}

// JSON strings: plain text goes in whole, the rest is escaped.
TEST(TextEncodingTest, JsonStrings)
{
    const struct {
        const char *Text, *Json;
    } cases[] = {
        {"", "\"\""}, {"AM 19 \xC3\xA4", "\"AM 19 \xC3\xA4\""}, {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\n\r\t\x01", "\"\\n\\r\\t\\u0001\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JsonQuote(c.Text), c.Json) << c.Text;
}

// The tools read written codes: a whole code converts as the button does,
// a large square or a cell to its centre, each with the bounds it names.
TEST_F(ConvertToolTest, WrittenCodesLargeSquaresAndCells)
{
    const struct {
        const char *Text, *Code;
        ConvertStatus Status;
        int Quad;
        double Lat, Lon, South, West, North, East;
    } cases[] = {
        {"cd 12 34", "CD1234", ConvertStatus::Converted, 0, 3393, 1660.5, 3390, 1665, 3396, 1656},
        {"Qu. CD", "CD", ConvertStatus::Converted, 0, 1671, 780, -60, 1800, 3402, -240}, // both records
        {"cd-12", "CD12", ConvertStatus::Converted, 0, 3375, 1678.5, 3348, 1719, 3402, 1638},
        {"CD 10", "CD10", ConvertStatus::Converted, 1, 30, -150, 0, -120, 60, -180},
        {"CD 01", "CD01", ConvertStatus::PositionNotFound, -1, 0, 0, 0, 0, 0, 0},
        {"XY", "XY", ConvertStatus::GridNotFound, -1, 0, 0, 0, 0, 0, 0},
        {"C-D1234", "C-D1234", ConvertStatus::Unreadable, -1, 0, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        ConversionResult r = ConvertWrittenCode(c.Text);
        EXPECT_EQ(r.Code, c.Code) << c.Text;
        EXPECT_EQ(r.Status, c.Status) << c.Text;
        EXPECT_EQ(r.QuadIndex, c.Quad) << c.Text;
        const double got[] = {r.Position.Latitude, r.Position.Longitude, r.Bounds.South,
                              r.Bounds.West,       r.Bounds.North,       r.Bounds.East};
        const double want[] = {c.Lat, c.Lon, c.South, c.West, c.North, c.East};
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(got[i], want[i], 1e-3) << c.Text << " value " << i;
    }
    EXPECT_EQ(ConvertMessage(ConvertWrittenCode("C-D1234")),
              "'-' at character 2 where a letter belongs: a code starts with two letters, e.g. AM1969");
    EXPECT_EQ(FormatResultLine(ConvertWrittenCode("cd 12"), OutputFormat::Decimal), "CD12\t56.250000\t-27.975000");
}

// Decimal degrees: north and east positive, six decimals, no "-0".
TEST(ConvertToolParts, DecimalDegrees)
{
    const struct {
        double Minutes;
        bool PositiveWest;
        const char *Text;
    } cases[] = {
        {3393.0000072, false, "56.550000"}, {1660.5000044, true, "-27.675000"},
        {-30, false, "-0.500000"},          {-150, true, "2.500000"},
        {0, true, "0.000000"},              {0.00001, true, "0.000000"},
        {-0.00001, false, "0.000000"},      {0.00006, false, "0.000001"},
        {-10800, true, "180.000000"},       {0.0000300000001, true, "-0.000001"},
        // Exact halves go to the even digit, as printf rounds them.
        {-3129.84375, false, "-52.164062"}, {10.78125, false, "0.179688"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecimalDegreesText(c.Minutes, c.PositiveWest), c.Text) << c.Minutes;
}

// Degrees, minutes and seconds: a rounding carries through the seconds and
// minutes, zero has the northern or eastern letter.
TEST(ConvertToolParts, DegreesMinutesSeconds)
{
    const struct {
        double Minutes;
        bool IsLatitude;
        int Decimals;
        const char *Text;
    } cases[] = {
        {3307.5, true, 0, "55\xC2\xB0" "07'30\"N"},       {-30, true, 1, "0\xC2\xB0" "30'00.0\"S"},
        {1267.25, false, 0, "21\xC2\xB0" "07'15\"W"},     {-1267.25, false, 2, "21\xC2\xB0" "07'15.00\"E"},
        {59.99999, true, 0, "1\xC2\xB0" "00'00\"N"},      {59.99999, true, 3, "0\xC2\xB0" "59'59.999\"N"},
        {-0.000001, false, 0, "0\xC2\xB0" "00'00\"E"},    {10800, false, 0, "180\xC2\xB0" "00'00\"W"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DmsText(c.Minutes, c.IsLatitude, c.Decimals), c.Text) << c.Minutes;
    EXPECT_EQ(DecimalDegreesText(3308.4, false, 2), "55.14"); // --precision
}

TEST(ConvertToolParts, Options)
{
    const struct {
        std::vector<std::string> Args;
        bool Ok;
        const char *DataFiles; // joined by |
        OutputFormat Format;
        size_t Codes;
        bool Help;
        const char *Error;
    } cases[] = {
        {{}, true, "", OutputFormat::DegreesMinutes, 0, false, ""},
        {{"CD1234", "AB1111"}, true, "", OutputFormat::DegreesMinutes, 2, false, ""},
        {{"--data", "x.bin", "CD1234"}, true, "x.bin", OutputFormat::DegreesMinutes, 1, false, ""},
        {{"--data=y.bin", "--format=decimal"}, true, "y.bin", OutputFormat::Decimal, 0, false, ""},
        {{"--data", "a.bin", "CD1234", "--data=b.bin"}, true, "a.bin|b.bin", OutputFormat::DegreesMinutes, 1, false, ""},
        {{"CD1234", "--format", "dm", "--format", "decimal"}, true, "", OutputFormat::Decimal, 1, false, ""},
        {{"--help", "CD1234"}, true, "", OutputFormat::DegreesMinutes, 1, true, ""},
        {{"--", "--data", "-h"}, true, "", OutputFormat::DegreesMinutes, 2, false, ""},
        {{"-"}, true, "", OutputFormat::DegreesMinutes, 1, false, ""},
        {{"--data"}, false, "", OutputFormat::DegreesMinutes, 0, false, "option --data needs a value"},
        {{"--format", "utm"}, false, "", OutputFormat::DegreesMinutes, 0, false,
         "unknown format 'utm' (use dm, decimal, dms, csv, geojson, kml, gpx or html)"},
        {{"--format=dms", "-33.5", "-.5"}, true, "", OutputFormat::Dms, 2, false, ""}, // negative numbers are operands
        {{"--precision", "13"}, false, "", OutputFormat::DegreesMinutes, 0, false, "--precision takes a whole number from 0 to 12"},
        {{"--precision=-1"}, false, "", OutputFormat::DegreesMinutes, 0, false, "--precision takes a whole number from 0 to 12"},
        {{"--formats=dm"}, false, "", OutputFormat::DegreesMinutes, 0, false, "unknown option '--formats=dm'"},
        {{"-x"}, false, "", OutputFormat::DegreesMinutes, 0, false, "unknown option '-x'"},
    };
    for (const auto &c : cases) {
        ConvertOptions options;
        std::string error;
        std::string label = c.Args.empty() ? "(none)" : c.Args[0];
        ASSERT_EQ(ParseConvertOptions(c.Args, options, error), c.Ok) << label;
        EXPECT_EQ(error, c.Error) << label;
        if (!c.Ok)
            continue;
        std::string files;
        for (const std::string &file : options.DataFiles)
            files += (files.empty() ? "" : "|") + file;
        EXPECT_EQ(files, c.DataFiles) << label;
        EXPECT_EQ(options.Format, c.Format) << label;
        EXPECT_EQ(options.Codes.size(), c.Codes) << label;
        EXPECT_EQ(options.Help, c.Help) << label;
    }
}

TEST(ConvertToolParts, LoadFailuresInWords)
{
    const struct {
        int16_t Status;
        const char *Text;
    } cases[] = {
        {kLoadNotFound, "data file 'g.bin' not found"},
        {kLoadCountMismatch, "data file 'g.bin' is faulty: count mismatch"},
        {kLoadNoDefinitions, "data file 'g.bin' is faulty: no QuadDefinitions"},
        {kLoadBeyondLimits, "data file 'g.bin' is faulty: beyond the format's limits"},
        {7, "data file 'g.bin' is faulty: load status 7"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DescribeLoadFailure("g.bin", c.Status).rfind(c.Text, 0), 0u) << c.Status;
}

// Lines read in blocks: a line across two blocks, blank lines, CR and NUL
// kept, the bound exactly reached and passed, a last line without LF; the
// hook runs before every read.
TEST(ConvertToolParts, LinesReadInBoundedBlocks)
{
    const std::vector<std::pair<std::string, bool>> lines = {
        {std::string(65530, 'a'), false}, {"CA1155", false}, {"", false}, {"AM\r", false},
        {std::string("A\0M", 3), false}, {std::string(kMaxLineBytes, 'b'), false},
        {std::string(kMaxLineBytes + 1, 'c'), true}, {"CD1234", false},
    };
    std::FILE *file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    size_t total = 2;
    for (const auto &line : lines) {
        std::fwrite(line.first.data(), 1, line.first.size(), file), std::fputc('\n', file);
        total += line.first.size() + 1;
    }
    std::fputs("EF", file);
    std::rewind(file);
    LineReader reader(file);
    int waits = 0;
    reader.BeforeWait([&waits] { ++waits; });
    std::string line;
    bool overlong = false;
    for (const auto &expected : lines) {
        ASSERT_TRUE(reader.Next(line, overlong));
        EXPECT_EQ(overlong, expected.second) << expected.first.substr(0, 10);
        EXPECT_EQ(line, expected.first.substr(0, kMaxLineBytes)) << expected.first.substr(0, 10);
    }
    ASSERT_TRUE(reader.Next(line, overlong));
    EXPECT_EQ(line, "EF");
    EXPECT_FALSE(reader.Next(line, overlong));
    EXPECT_FALSE(reader.Next(line, overlong));
    // A file gives whole blocks, then the end.
    EXPECT_EQ(waits, static_cast<int>((total + LineReader::kBlockBytes - 1) / LineReader::kBlockBytes + 1));
    std::fclose(file);
}

// Echoed input: valid UTF-8 kept, each broken sequence one U+FFFD.
TEST(ConvertToolParts, EchoedBytesAreValidUtf8)
{
    const struct {
        const char *Bytes;
        const char *Text;
    } cases[] = {
        {"\xC3\x84J1155 \xE2\x82\xAC \xF0\x9F\x8C\x8A", "\xC3\x84J1155 \xE2\x82\xAC \xF0\x9F\x8C\x8A"},
        {"\xC4J1155", "\xEF\xBF\xBDJ1155"},
        {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},       // an overlong form
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        {"A\xE2\x82", "A\xEF\xBF\xBD"},                   // cut short
    };
    for (const auto &c : cases)
        EXPECT_EQ(ValidUtf8(c.Bytes), c.Text) << c.Bytes;
}

} // namespace
