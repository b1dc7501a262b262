// gridtool check: each fault a data maker can make is reported on its line
// with what was expected, a clean file reports nothing, and the checker
// never calls a file clean that the program's loader refuses.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ScrambledText.h"
#include "tools/gridtool/DataFileChecker.h"

namespace {

// A clean file of two sections and two forms, one line per entry (line n
// of the file is kClean[n - 1]).
const std::vector<std::string> kClean = {
    "About Test grid",               // 1
    "Chart 1",                       // 2
    "Quadtype 0",                    // 3
    "NrOfQuadsX 3",                  // 4
    "NrOfQuadsY 2",                  // 5
    "DownLeftPos 54'00 30'00",       // 6
    "UpRightPos 57'00 21'00",        // 7
    "QuadName CA,CB,CC",             // 8
    "QuadName CD,CE,CF",             // 9
    "Chart 2",                       // 10
    "\tQuadtype 1",                  // 11
    "NrOfQuadsX 2",                  // 12
    "NrOfQuadsY 1",                  // 13
    "DownLeftPos 57'00 30'00",       // 14
    "UpRightPos 60'00 24'00",        // 15
    "QuadName DA,DB",                // 16
    "QuadDefinitions",               // 17
    "Type 0",                        // 18
    "FormX 3",                       // 19
    "FormY 2",                       // 20
    "Numbers:",                      // 21
    "11,12,13,",                     // 22
    "21,22,-1",                      // 23
    "Type 1",                        // 24
    "FormX 2",                       // 25
    "FormY 1",                       // 26
    "Numbers: 1,2",                  // 27
};

// The clean file with line n replaced (several lines may stand in its place,
// or none).
std::string WithLine(int n, const std::string &replacement, bool removeLine = false)
{
    std::string text;
    for (size_t i = 0; i < kClean.size(); ++i) {
        if (static_cast<int>(i) + 1 == n) {
            if (!removeLine)
                text += replacement + "\r\n";
        } else {
            text += kClean[i] + "\r\n";
        }
    }
    return text;
}

std::string AllProblems(const std::vector<CheckProblem> &problems)
{
    std::string all;
    for (const CheckProblem &p : problems)
        all += std::to_string(p.Line) + ": " + p.Message + "\n";
    return all;
}

TEST(DataFileChecker, CleanFileHasNoProblemAndLoads)
{
    std::string text = WithLine(0, "");
    CheckSummary summary;
    EXPECT_EQ(AllProblems(CheckPlainText(text, &summary)), "");
    EXPECT_EQ(summary.Sections, 2);
    EXPECT_EQ(summary.Quads, 8);
    EXPECT_EQ(summary.Forms, 2);
    GridDatabase db;
    EXPECT_EQ(LoadPlainText(text, db), kLoadOk);
}

struct FaultCase {
    const char *what;
    int line;                 // the line replaced (0: none)
    std::string replacement;  // the text in its place
    bool remove;              // the line is removed instead
    int reportedLine;         // where the first problem must be reported
    const char *message;      // a part of its message
    bool loaderRefuses;       // the program's loader ends with a status other than 0
};

TEST(DataFileChecker, ReportsEachFaultOnItsLine)
{
    const FaultCase cases[] = {
        {"misspelt keyword", 3, "Quadtyp 0", false, 3, "expected 'Quadtype', found 'Quadtyp'", true},
        {"keyword indented with a space", 12, " NrOfQuadsX 2", false, 12, "indented with TABs, not spaces", true},
        {"missing keyword", 4, "", true, 4, "expected 'NrOfQuadsX', found 'NrOfQuadsY'", true},
        {"count mismatch", 9, "QuadName CD,CE", false, 8, "3 x 2 = 6 quads, but the QuadName lines give 5 names", true},
        {"comma at the end of a name line", 16, "QuadName DA,DB,", false, 16, "an empty quad name", true},
        {"name too long", 16, "QuadName DA,DBX", false, 16, "'DBX' is longer than two characters", true},
        {"quad type beyond 99", 11, "Quadtype 100", false, 11, "Quadtype 100 is beyond the limits 0 to 99", true},
        {"value not a number", 13, "NrOfQuadsY one", false, 13, "expected an integer after 'NrOfQuadsY', found 'one\\r'", true},
        {"value field too long", 2, "Chart 000000000001", false, 2, "longer than 11 bytes", true},
        {"too many quads in a section", 12, "NrOfQuadsX 301", false, 12, "NrOfQuadsX 301 is beyond the limits 1 to 300", true},
        {"apostrophe missing", 6, "DownLeftPos 54 30'00", false, 6, "expected the DownLeftPos latitude as degrees'minutes", true},
        {"minutes beyond 60", 7, "UpRightPos 57'75 21'00", false, 7, "minutes '75' are not from 0 to below 60", false},
        {"latitude beyond 90 degrees", 7, "UpRightPos 95'00 21'00", false, 7, "lies beyond 90 degrees", false},
        {"corners on one parallel", 15, "UpRightPos 57'00 24'00", false, 10, "the quads have no extent", false},
        {"no QuadDefinitions", 17, "QuadDefinition", false, 17, "expected 'QuadName', 'Chart' or 'QuadDefinitions'", true},
        {"About after the first word", 10, "About more\r\nChart 2", false, 10, "'About' is read only as the first word", true},
        {"overlapping sections", 14, "DownLeftPos 56'00 30'00", false, 10, "quad 'DA' of this section overlaps quad 'CD'", false},
        {"quad type never defined", 11, "\tQuadtype 7", false, 11, "quad type 7 is used here but never defined", false},
        {"repeated cell number", 23, "21,12,-1", false, 23, "cell number 12 appears twice in form 0 (first on line 22)", false},
        {"cell number out of reach", 23, "21,22,100", false, 23, "cell number 100 cannot be named", false},
        {"cell number beyond 8 bits", 23, "21,22,300", false, 23, "cell number 300 is beyond the limits -128 to 127", false},
        {"too few Numbers entries", 23, "21,22", false, 24, "fewer Numbers entries than FormX x FormY = 6", false},
        {"too many Numbers entries", 23, "21,22,-1,31", false, 23, "more Numbers entries than FormX x FormY", false},
        {"form beyond 140 cells", 26, "FormY 71", false, 26, "142 cells; a form has at most 140", true},
        {"type beyond 99", 24, "Type 120", false, 24, "Type 120 is beyond the limits 0 to 99", true},
        {"type defined twice", 24, "Type 0", false, 24, "type 0 is defined again (first on line 18)", false},
        {"stray word after the definitions", 0, "", false, 28, "expected 'Type' or the end of the file, found 'Typ'", false},
        {"About line too long", 1, "About " + std::string(400, 'x'), false, 1, "About line is longer than 400 bytes", true},
        {"overlong word", 2, std::string(120, 'C') + " 1", false, 2, "a word of 120 bytes; a word has at most 99", true},
    };
    for (const FaultCase &c : cases) {
        std::string text = WithLine(c.line, c.replacement, c.remove);
        if (c.line == 0)
            text += "Typ 2\r\n";
        std::vector<CheckProblem> problems = CheckPlainText(text);
        ASSERT_FALSE(problems.empty()) << c.what;
        bool found = false;
        for (const CheckProblem &p : problems)
            found = found || (p.Line == c.reportedLine && p.Message.find(c.message) != std::string::npos);
        EXPECT_TRUE(found) << c.what << ": expected on line " << c.reportedLine << " '" << c.message << "', got\n"
                           << AllProblems(problems);
        GridDatabase db;
        EXPECT_EQ(LoadPlainText(text, db) != kLoadOk, c.loaderRefuses) << c.what;
    }
}

// Where rows on two latitude series meet, a cell the grid cuts is held
// whole and reaches into its neighbour: less than a third of the smaller
// cell (here 0.75 deg high, a third 15') is accepted, a third or more is
// an overlap.
TEST(DataFileChecker, AcceptsCutCellsWhereRowSeriesMeet)
{
    const struct {
        const char *downLeft;
        bool reported;
    } cases[] = {
        {"DownLeftPos 56'48 30'00", false},
        {"DownLeftPos 56'46 30'00", false},
        {"DownLeftPos 56'45 30'00", true},
        {"DownLeftPos 56'00 30'00", true},
    };
    for (const auto &c : cases) {
        std::string all = AllProblems(CheckPlainText(WithLine(14, c.downLeft)));
        EXPECT_EQ(all.find("overlaps quad") != std::string::npos, c.reported) << c.downLeft << "\n" << all;
    }
}

TEST(DataFileChecker, ReportsTooManyRecordsOfOneNameAndInAll)
{
    std::string sections;
    for (int i = 0; i < 21; ++i)  // 21 one-quad sections named XX, side by side
        sections += CrLfLines({"Chart 1", "Quadtype 0", "NrOfQuadsX 1", "NrOfQuadsY 1"}) + "DownLeftPos 0'00 " +
                    std::to_string(i) + "'00\r\nUpRightPos 1'00 " + std::to_string(i + 1) + "'00\r\nQuadName XX\r\n";
    std::string text = sections + CrLfLines({"QuadDefinitions", "Type 0", "FormX 1", "FormY 1", "Numbers: 11"});
    std::string all = AllProblems(CheckPlainText(text));
    EXPECT_NE(all.find("141: quad name 'XX' is carried by more than 20 quad records"), std::string::npos) << all;

    std::string big;
    for (int i = 0; i < 2; ++i)  // two sections of 300 quads each, one above the other
        big += CrLfLines({"Chart 1", "Quadtype 0", "NrOfQuadsX 20", "NrOfQuadsY 15"}) + "DownLeftPos " +
               std::to_string(15 * i) + "'00 0'00\r\nUpRightPos " + std::to_string(15 * i + 15) +
               "'00 -20'00\r\nQuadName " + [] {
                   std::string names;
                   for (int n = 0; n < 300; ++n)
                       names += std::string(n ? "," : "") + char('A' + n / 26 % 26) + char('A' + n % 26);
                   return names;
               }() + "\r\n";
    all = AllProblems(CheckPlainText(big + CrLfLines({"QuadDefinitions", "Type 0", "FormX 1", "FormY 1", "Numbers: 11"})));
    EXPECT_NE(all.find("8: this section brings the quads to more than 500"), std::string::npos) << all;
}

TEST(DataFileChecker, ReportsFaultsOfSeveralKindsInOneRun)
{
    std::string text = WithLine(3, "Quadtype 0");
    text = WithLine(0, "");
    text.replace(text.find("QuadName CD,CE,CF"), 17, "QuadName CD,CE");
    text.replace(text.find("21,22,-1"), 8, "21,11,-1");
    std::vector<CheckProblem> problems = CheckPlainText(text);
    ASSERT_EQ(problems.size(), 2u) << AllProblems(problems);
    EXPECT_EQ(problems[0].Line, 8);
    EXPECT_EQ(problems[1].Line, 23);
}

TEST(DataFileChecker, NeverCallsCleanWhatTheLoaderRefuses)
{
    // Random damage to the clean file: bytes dropped, doubled or replaced.
    const std::string clean = WithLine(0, "");
    const char alphabet[] = "\r\n\t ,'-0123456789ACDNQTXYabcdefhmnoprstuy:";
    std::mt19937 random(20261207);
    int refused = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text = clean;
        int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text.erase(at, 1); break;
            case 1: text.insert(at, 1, text[at]); break;
            default: text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
            }
        }
        GridDatabase db;
        if (LoadPlainText(text, db) == kLoadOk)
            continue;
        ++refused;
        ASSERT_FALSE(CheckPlainText(text).empty()) << "the loader refuses (status " << db.LoadStatus
                                                  << ") but the checker finds nothing in:\n" << text;
    }
    EXPECT_GT(refused, 500);
}

} // namespace
