// More data at and just past the limits of the file format: each numeric
// field and position part at 11 bytes and at 12, names and the About line
// at their buffer sizes, values that wrap into or out of the type range,
// form sizes reached through negative or carried-over values, and name
// counts pushed past a limit by one more name.  At a limit the file loads
// and the value reads back; one past it the load fails with status 3 (the
// sanitizer build checks that nothing is written beyond a buffer).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ScrambledText.h"

namespace {

GridDatabase db;

const std::string kCorners = "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'00\r\n";

// n distinct two-letter names, comma-separated, starting at name number first.
std::string NameList(int n, int first = 0)
{
    std::string names;
    for (int i = first; i < first + n; ++i) {
        if (i > first)
            names += ',';
        names += static_cast<char>('A' + (i / 26) % 26);
        names += static_cast<char>('A' + i % 26);
    }
    return names;
}

// A section head (every keyword but the names) of nx by ny quads.
std::string Head(int nx, int ny, const std::string &type = "0", const std::string &corners = kCorners)
{
    return "Chart 1\r\nQuadtype " + type + "\r\nNrOfQuadsX " + std::to_string(nx) + "\r\nNrOfQuadsY " +
           std::to_string(ny) + "\r\n" + corners;
}

// One section with its names on one line.
std::string Section(int nx, int ny, const std::string &type = "0")
{
    return Head(nx, ny, type) + "QuadName " + NameList(nx * ny) + "\r\n";
}

// A form definition with the given keyword values and numbers list.
std::string Form(const std::string &type, const std::string &fx, const std::string &fy, const std::string &numbers)
{
    return "Type " + type + "\r\nFormX " + fx + "\r\nFormY " + fy + "\r\nNumbers: " + numbers + "\r\n";
}

// The name ZZ n times, comma-separated.
std::string SameNames(int n)
{
    std::string names = "ZZ";
    for (int i = 1; i < n; ++i)
        names += ",ZZ";
    return names;
}

// n entries of 11, comma-separated.
std::string Elevens(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += i ? ",11" : "11";
    return text;
}

const std::string kOneQuad = Section(1, 1);
const std::string kForms = "QuadDefinitions\r\n" + Form("0", "1", "1", "11");

struct LimitCase {
    const char *what;
    std::string plain;
    int16_t status;
    std::function<bool(const GridDatabase &)> readBack; // at a limit: the value arrived whole
};

TEST(LoaderLimitsMore, FieldsPartsAndCounts)
{
    const LimitCase cases[] = {
        // A Numbers entry gathers at most 11 bytes before its comma or line end.
        {"entry of 11 bytes", kOneQuad + "QuadDefinitions\r\n" + Form("0", "1", "1", "00000000011"), kLoadOk,
         [](const GridDatabase &d) { return d.Forms[0].Numbers[0] == 11; }},
        {"entry of 11 bytes before a comma", kOneQuad + "QuadDefinitions\r\n" + Form("0", "2", "1", "00000000012,-1"),
         kLoadOk, [](const GridDatabase &d) { return d.Forms[0].Numbers[0] == 12 && d.Forms[0].Numbers[1] == -1; }},
        {"entry of 12 bytes before a comma", kOneQuad + "QuadDefinitions\r\n" + Form("0", "2", "1", "000000000012,1"),
         kLoadBeyondLimits, nullptr},
        // Each part of a position is a field of its own.
        {"degrees of 11 bytes", Head(1, 1, "0", "DownLeftPos 1.000000000'00 10'00\r\nUpRightPos 10'00 0'00\r\n") +
                                    "QuadName AA\r\n" + kForms,
         kLoadOk, [](const GridDatabase &d) { return d.Quads[0].DownLeftLat == 60.0f; }},
        {"minutes of 11 bytes before a space",
         Head(1, 1, "0", "DownLeftPos 0'30.00000000 10'00\r\nUpRightPos 10'00 0'00\r\n") + "QuadName AA\r\n" + kForms,
         kLoadOk, [](const GridDatabase &d) { return d.Quads[0].DownLeftLat == 30.0f; }},
        {"minutes of 12 bytes before a space",
         Head(1, 1, "0", "DownLeftPos 0'30.000000000 10'00\r\nUpRightPos 10'00 0'00\r\n") + "QuadName AA\r\n" + kForms,
         kLoadBeyondLimits, nullptr},
        {"minutes of 11 bytes with the CR of the line end",
         Head(1, 1, "0", "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'15.0000000\r\n") + "QuadName AA\r\n" + kForms,
         kLoadOk, [](const GridDatabase &d) { return d.Quads[0].SizeLon == -585.0f; }},
        {"minutes of 12 bytes with the CR of the line end",
         Head(1, 1, "0", "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'15.00000000\r\n") + "QuadName AA\r\n" + kForms,
         kLoadBeyondLimits, nullptr},
        // A name slot holds two characters and its terminator.
        {"two-letter names", Head(2, 1) + "QuadName AB,CD\r\n" + kForms, kLoadOk,
         [](const GridDatabase &d) { return std::string(d.Quads[1].QuadName) == "CD"; }},
        {"three-letter name before a comma", Head(2, 1) + "QuadName ABC,DE\r\n" + kForms, kLoadBeyondLimits, nullptr},
        // The About line fills a 400-byte buffer with its line end.
        {"About of 399 characters ended by LF alone", "About " + std::string(399, 'a') + "\n" + kOneQuad + kForms,
         kLoadOk, [](const GridDatabase &d) { return std::string(d.AboutText) == std::string(399, 'a'); }},
        {"About of 400 characters ended by LF alone", "About " + std::string(400, 'a') + "\n" + kOneQuad + kForms,
         kLoadBeyondLimits, nullptr},
        {"About of 398 characters at the end of the file", "About " + std::string(398, 'a'), kLoadNoDefinitions,
         [](const GridDatabase &d) { return std::string(d.AboutText) == std::string(398, 'a'); }},
        // Names and cells of one section.
        {"300 names over several lines", Head(20, 15) + "QuadName " + NameList(150) + "\r\nQuadName " +
                                             NameList(150, 150) + "\r\n" + kForms,
         kLoadOk, [](const GridDatabase &d) { return d.QuadCount == 300; }},
        {"300 names and a trailing comma", Head(20, 15) + "QuadName " + NameList(300) + ",\r\n" + kForms,
         kLoadBeyondLimits, nullptr},
        {"301 cells with one name", Head(43, 7) + "QuadName AA\r\n" + kForms, kLoadBeyondLimits, nullptr},
        {"negative count of quads", Head(-300, -2) + "QuadName AA\r\n" + kForms, kLoadBeyondLimits,
         [](const GridDatabase &d) { return d.QuadCount == 0; }},
        // Quad records sharing one name.
        {"21 quads of one name in one section", Head(21, 1) + "QuadName " + SameNames(21) + "\r\n" + kForms,
         kLoadBeyondLimits, nullptr},
        {"20 quads of one name in one section", Head(20, 1) + "QuadName " + SameNames(20) + "\r\n" + kForms, kLoadOk,
         [](const GridDatabase &d) { return d.QuadCount == 20; }},
        {"300 cells, one name: 299 quads share the empty name", Head(30, 10) + "QuadName AA\r\n" + kForms,
         kLoadBeyondLimits, nullptr},
        // Values keep their low 16 bits, so a wrapped value can land in or out of the type range.
        {"Quadtype 65636 (wraps to 100)", Section(1, 1, "65636") + kForms, kLoadBeyondLimits, nullptr},
        {"Quadtype 65635 (wraps to 99)", Section(1, 1, "65635") + kForms, kLoadOk,
         [](const GridDatabase &d) { return d.Quads[0].Quadtype == 99; }},
        {"Type 65535 (wraps to -1)", kOneQuad + "QuadDefinitions\r\n" + Form("65535", "1", "1", "11"),
         kLoadBeyondLimits, nullptr},
        {"Type -32768", kOneQuad + "QuadDefinitions\r\n" + Form("-32768", "1", "1", "11"), kLoadBeyondLimits, nullptr},
        // FormX x FormY: the product decides, whatever the signs.
        {"10 x 14 cells", kOneQuad + "QuadDefinitions\r\n" + Form("0", "10", "14", Elevens(140)), kLoadOk,
         [](const GridDatabase &d) { return d.Forms[0].Numbers[139] == 11; }},
        {"-14 x -10 cells", kOneQuad + "QuadDefinitions\r\n" + Form("0", "-14", "-10", Elevens(140)), kLoadOk,
         [](const GridDatabase &d) { return d.Forms[0].FormX == -14 && d.Forms[0].Numbers[139] == 11; }},
        {"-1 x -141 cells", kOneQuad + "QuadDefinitions\r\n" + Form("0", "-1", "-141", Elevens(141)),
         kLoadBeyondLimits, nullptr},
        {"32767 x 32767 cells", kOneQuad + "QuadDefinitions\r\n" + Form("0", "32767", "32767", "11"),
         kLoadBeyondLimits, nullptr},
        {"2 x -70 cells reads no entry", kOneQuad + "QuadDefinitions\r\n" + Form("0", "2", "-70", "") + "Type 1\r\n",
         kLoadOk, [](const GridDatabase &d) { return d.Forms[0].Numbers[0] == 0; }},
        {"FormX carried over to 14 x 11", kOneQuad + "QuadDefinitions\r\n" + Form("0", "14", "10", Elevens(140)) +
                                             "Type 0\r\nFormXX\r\nFormY 11\r\nNumbers: 11\r\n",
         kLoadBeyondLimits, nullptr},
    };
    for (const LimitCase &c : cases) {
        EXPECT_EQ(LoadPlainText(c.plain, db), c.status) << c.what;
        if (c.readBack) {
            EXPECT_TRUE(c.readBack(db)) << c.what;
        }
    }
}

} // namespace
