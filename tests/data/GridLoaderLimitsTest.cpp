// Data at and just past every limit of the tables: at the limit the file
// loads, one past it the load fails with status 3 and nothing is written
// beyond a table or a buffer (the sanitizer build checks the latter).
#include <gtest/gtest.h>

#include <string>

#include "ScrambledText.h"

namespace {

GridDatabase db;

// Two-letter names AA, AB, ... for n quads.
std::string Names(int n, const char *prefix = "QuadName ")
{
    std::string line = prefix;
    for (int i = 0; i < n; ++i) {
        if (i)
            line += ',';
        line += static_cast<char>('A' + (i / 26) % 26);
        line += static_cast<char>('A' + i % 26);
    }
    return line + "\r\n";
}

// One section of nx by ny quads with distinct names.
std::string Section(int nx, int ny, const std::string &type = "0")
{
    return "Chart 1\r\nQuadtype " + type + "\r\nNrOfQuadsX " + std::to_string(nx) + "\r\nNrOfQuadsY " +
           std::to_string(ny) + "\r\nDownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'00\r\n" + Names(nx * ny);
}

// A form definition of the given size, every cell numbered 11.
std::string Form(const std::string &type, int fx, int fy)
{
    std::string text = "Type " + type + "\r\nFormX " + std::to_string(fx) + "\r\nFormY " + std::to_string(fy) +
                       "\r\nNumbers:\r\n";
    for (int i = 0; i < fx * fy; ++i)
        text += i ? ",11" : "11";
    return text + "\r\n";
}

const std::string kForms = "QuadDefinitions\r\n" + Form("0", 1, 1);

struct LimitCase {
    const char *what;
    std::string plain;
    int16_t status;
};

TEST(GridLoaderLimits, AtAndPastEachLimit)
{
    std::string sameName;
    for (int i = 0; i < 21; ++i)
        sameName += "Chart 1\r\nQuadtype 0\r\nNrOfQuadsX 1\r\nNrOfQuadsY 1\r\n"
                    "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'00\r\nQuadName ZZ\r\n";
    std::string twentySame = sameName.substr(0, sameName.size() / 21 * 20);

    const LimitCase cases[] = {
        {"300 quads in a section", Section(20, 15) + kForms, kLoadOk},
        {"301 names in a section", Section(1, 1).substr(0, Section(1, 1).find("QuadName")) + Names(301) + kForms,
         kLoadBeyondLimits},
        {"310 cells in a section", Section(31, 10) + kForms, kLoadBeyondLimits},
        {"-32768 x -1 quads", "Chart 1\r\nQuadtype 0\r\nNrOfQuadsX -32768\r\nNrOfQuadsY -1\r\n"
                              "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'00\r\nQuadName AA\r\n" + kForms,
         kLoadBeyondLimits},
        {"500 quads", Section(20, 15) + Section(20, 10) + kForms, kLoadOk},
        {"501 quads", Section(20, 15) + Section(20, 10) + Section(1, 1) + kForms, kLoadBeyondLimits},
        {"Quadtype 99", Section(1, 1, "99") + kForms, kLoadOk},
        {"Quadtype 100", Section(1, 1, "100") + kForms, kLoadBeyondLimits},
        {"Quadtype -1", Section(1, 1, "-1") + kForms, kLoadBeyondLimits},
        {"Type 99", Section(1, 1) + "QuadDefinitions\r\n" + Form("99", 1, 1), kLoadOk},
        {"Type 100", Section(1, 1) + "QuadDefinitions\r\n" + Form("100", 1, 1), kLoadBeyondLimits},
        {"Type -1", Section(1, 1) + "QuadDefinitions\r\n" + Form("-1", 1, 1), kLoadBeyondLimits},
        {"140 cells in a form", Section(1, 1) + "QuadDefinitions\r\n" + Form("0", 14, 10), kLoadOk},
        {"141 cells in a form", Section(1, 1) + "QuadDefinitions\r\n" + Form("0", 141, 1), kLoadBeyondLimits},
        {"20 quads of one name", twentySame + kForms, kLoadOk},
        {"21 quads of one name", sameName + kForms, kLoadBeyondLimits},
        {"three-letter name", "Chart 1\r\nQuadtype 0\r\nNrOfQuadsX 1\r\nNrOfQuadsY 1\r\n"
                              "DownLeftPos 0'00 10'00\r\nUpRightPos 10'00 0'00\r\nQuadName ABC\r\n" + kForms,
         kLoadBeyondLimits},
        {"About of 398 characters", "About " + std::string(398, 'a') + "\r\n" + Section(1, 1) + kForms, kLoadOk},
        {"About of 399 characters", "About " + std::string(399, 'a') + "\r\n" + Section(1, 1) + kForms,
         kLoadBeyondLimits},
        {"word of 99 bytes", Section(1, 1) + std::string(99, 'W') + "\r\n", kLoadNoDefinitions},
        {"word of 100 bytes", Section(1, 1) + std::string(100, 'W') + "\r\n", kLoadBeyondLimits},
        {"value of 11 bytes with its CR", "Chart 0000000001\r\n" + Section(1, 1).substr(9) + kForms, kLoadOk},
        {"value of 12 bytes with its CR", "Chart 00000000001\r\n" + Section(1, 1).substr(9) + kForms, kLoadBeyondLimits},
        {"number entry of 12 bytes", Section(1, 1) + "QuadDefinitions\r\nType 0\r\nFormX 1\r\nFormY 1\r\n"
                                                     "Numbers: 000000000011\r\n",
         kLoadBeyondLimits},
        {"position of 12 bytes", "Chart 1\r\nQuadtype 0\r\nNrOfQuadsX 1\r\nNrOfQuadsY 1\r\n"
                                 "DownLeftPos 0.0000000000'00 10'00\r\nUpRightPos 10'00 0'00\r\nQuadName AA\r\n" +
                                     kForms,
         kLoadBeyondLimits},
    };
    for (const LimitCase &c : cases)
        EXPECT_EQ(LoadPlainText(c.plain, db), c.status) << c.what;
}

TEST(GridLoaderLimits, AFaultKeepsWhatWasReadBefore)
{
    ASSERT_EQ(LoadPlainText("About kept\r\n" + Section(3, 1) + Section(1, 1, "100") + kForms, db),
              kLoadBeyondLimits);
    EXPECT_STREQ(db.AboutText, "kept");
    EXPECT_EQ(db.QuadCount, 3);
    EXPECT_STREQ(db.Quads[2].QuadName, "AC");
}

} // namespace
