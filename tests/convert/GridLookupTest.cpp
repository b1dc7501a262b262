// The code lookup: name matching, the cell searches and code parsing.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "GridFixture.h"
#include "convert/GridLookup.h"
#include "data/QuadNameIndex.h"

namespace {

class GridLookupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConversionState(); }
};

// Runs the Convert flow's lookup over the matched records: the index of
// the first record that locates the code, or the last result.
struct FlowResult {
    int16_t Result;
    int16_t Chosen;
};

FlowResult LookUp(const char *code)
{
    char letters[3] = {0, 0, 0};
    for (int i = 0; i < 2 && code[i]; ++i)
        letters[i] = code[i];
    MatchCount = FindQuadsByName(letters);
    FlowResult flow = {kLocateNotFound, -1};
    for (int i = 0; i < MatchCount; ++i) {
        flow.Result = LocateSubsquare(code, MatchList[i]);
        if (flow.Result == kLocateFound) {
            flow.Chosen = MatchList[i];
            break;
        }
    }
    return flow;
}

TEST_F(GridLookupTest, WorkedExampleGivesItsOffsetExactly)
{
    int cd = AddWorkedExampleQuad();
    ASSERT_EQ(FindQuadsByName("CD"), 1);
    EXPECT_EQ(MatchList[0], cd);

    int16_t column = -9, row = -9;
    ASSERT_EQ(FindFormCell(0, 12, column, row), 0);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 8);
    ASSERT_EQ(FindStandardCell(34, column, row), 0);
    EXPECT_EQ(column, 6);
    EXPECT_EQ(row, 7);

    ASSERT_EQ(LocateSubsquare("CD1234", static_cast<int16_t>(cd)), kLocateFound);
    EXPECT_EQ(SubsquareOffset.fracX, static_cast<float>(15.0 / 81.0));
    EXPECT_EQ(SubsquareOffset.fracY, static_cast<float>(79.0 / 81.0));
}

// The standard numbering follows its rule for every number 11..99 without
// a zero, and holds nothing else.
TEST_F(GridLookupTest, StandardNumberingFollowsItsRule)
{
    for (int number = -130; number <= 130; ++number) {
        int a = number / 10, b = number % 10;
        bool valid = number >= 11 && number <= 99 && b != 0;
        int16_t column = -9, row = -9;
        int16_t result = FindStandardCell(static_cast<int16_t>(number), column, row);
        ASSERT_EQ(result, valid ? 0 : -1) << number;
        if (!valid) {
            EXPECT_EQ(column, -9) << "outputs untouched on failure";
            continue;
        }
        EXPECT_EQ(column, 3 * ((a - 1) % 3) + (b - 1) % 3) << number;
        EXPECT_EQ(row, 8 - (3 * ((a - 1) / 3) + (b - 1) / 3)) << number;
        EXPECT_EQ(StandardNumbering[8 - row][column], number) << "the table agrees";
    }
}

struct CodeCase {
    const char *Code;
    int16_t Expected;
};

// Every outcome of one code against the worked example's quad, whose form
// is the standard layout (no cell 1, no cell -1).
TEST_F(GridLookupTest, CodeResultsInOneQuad)
{
    int cd = AddWorkedExampleQuad();
    const CodeCase cases[] = {
        {"CD1234", kLocateFound},       {"CD9999", kLocateFound},
        {"CD1111", kLocateFound},       {"CD123", kLocateWrongLength},
        {"CD12345", kLocateWrongLength}, {"CD1234 ", kLocateWrongLength},
        {"", kLocateWrongLength},       {"CD", kLocateWrongLength},
        {"CD1230", kLocateNotFound},    {"CD1200", kLocateNotFound},
        {"CD12X4", kLocateNotFound},    {"CD12-1", kLocateNotFound},
        {"CD12+4", kLocateNotFound},    {"CD1034", kLocateNotFound},
        {"CD1A34", kLocateNotFound},    {"CDA134", kLocateNotFound},
        {"CD-134", kLocateNotFound},    {"CD 734", kLocateNotFound},
        {"XY1234", kLocateFound}, // the letters play no part here
    };
    for (const CodeCase &c : cases)
        EXPECT_EQ(LocateSubsquare(c.Code, static_cast<int16_t>(cd)), c.Expected) << '"' << c.Code << '"';
}

// Pairs read as atoi reads them: " 7" is 7 and 1A is 1, found only where
// the form has such a cell.
TEST_F(GridLookupTest, FirstPairReadsLikeAtoi)
{
    SetForm(0, 3, 1, {7, 1, 12});
    int q = AddQuad("CD", 0);
    const struct {
        const char *Code;
        float FracX;
    } cases[] = {
        {"CD 711", 0.0f},
        {"CD0711", 0.0f},
        {"CD1A11", 1.0f / 3},
        {"CD1 11", 1.0f / 3},
        {"CD1211", 2.0f / 3},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(LocateSubsquare(c.Code, static_cast<int16_t>(q)), kLocateFound) << c.Code;
        EXPECT_FLOAT_EQ(SubsquareOffset.fracX, c.FracX) << c.Code;
    }
}

// A place marked -1 has no cell: the pair "-1" never finds it, whether the
// form has such places or not, and the offset stays as it was.
TEST_F(GridLookupTest, NoCellMarkIsNeverFound)
{
    SetForm(0, 3, 2, {11, 12, 13, 21, 22, -1});
    int q = AddQuad("CD", 0);
    int16_t column = -9, row = -9;
    EXPECT_EQ(FindFormCell(0, -1, column, row), -1);
    EXPECT_EQ(column, -9);
    ASSERT_EQ(LocateSubsquare("CD2299", static_cast<int16_t>(q)), kLocateFound);
    SubsquareOffsetValue before = SubsquareOffset;
    EXPECT_EQ(LocateSubsquare("CD-134", static_cast<int16_t>(q)), kLocateNotFound);
    EXPECT_EQ(LocateSubsquare("CD-199", static_cast<int16_t>(q)), kLocateNotFound);
    EXPECT_EQ(SubsquareOffset.fracX, before.fracX);
    EXPECT_EQ(SubsquareOffset.fracY, before.fracY);
}

// The form search: first equal cell in top-row-first order, row counted
// from the bottom; undefined, empty or oversized forms and bad types find
// nothing.
TEST_F(GridLookupTest, FormCellSearch)
{
    SetForm(1, 3, 2, {11, 12, 13, 21, 22, 12});
    SetForm(2, 0, 5, {});
    SetForm(3, 5, 0, {});
    SetForm(4, 20, 20, {11});
    SetForm(5, -2, -3, {11});
    const struct {
        int Type, Number, Result, Column, Row;
    } cases[] = {
        {1, 11, 0, 0, 1}, {1, 13, 0, 2, 1}, {1, 21, 0, 0, 0}, {1, 22, 0, 1, 0},
        {1, 12, 0, 1, 1}, // the top row's 12 comes first
        {1, 23, -1, 0, 0}, {1, 0, -1, 0, 0},  {7, 11, -1, 0, 0}, // type 7 not defined
        {2, 0, -1, 0, 0},  {3, 0, -1, 0, 0},  {4, 11, -1, 0, 0},  {5, 11, -1, 0, 0},
        {-1, 11, -1, 0, 0}, {100, 11, -1, 0, 0}, {32767, 11, -1, 0, 0},
    };
    for (const auto &c : cases) {
        int16_t column = -9, row = -9;
        int16_t result = FindFormCell(static_cast<int16_t>(c.Type), static_cast<int16_t>(c.Number), column, row);
        EXPECT_EQ(result, c.Result) << "type " << c.Type << " number " << c.Number;
        if (result == 0) {
            EXPECT_EQ(column, c.Column) << c.Number;
            EXPECT_EQ(row, c.Row) << c.Number;
        }
    }
}

// Name matching is exact, case-sensitive and in table order.
TEST_F(GridLookupTest, NameMatching)
{
    SetStandardForm(0);
    AddQuad("CD", 0);
    AddQuad("AB", 0);
    AddQuad("CD", 0);
    AddQuad("C", 0);
    AddQuad("", 0);
    const struct {
        const char *Letters;
        int Count, First, Second;
    } cases[] = {
        {"CD", 2, 0, 2}, {"AB", 1, 1, -1}, {"cd", 0, -1, -1}, {" C", 0, -1, -1},
        {"C", 1, 3, -1}, {"", 1, 4, -1},   {"CDE", 0, -1, -1}, {"XY", 0, -1, -1},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(FindQuadsByName(c.Letters), c.Count) << '"' << c.Letters << '"';
        if (c.Count > 0) {
            EXPECT_EQ(MatchList[0], c.First) << c.Letters;
        }
        if (c.Count > 1) {
            EXPECT_EQ(MatchList[1], c.Second) << c.Letters;
        }
    }
}

// Records past QuadCount take no part, and a name slot without its
// terminator equals no letters.
TEST_F(GridLookupTest, OnlyValidTerminatedRecordsMatch)
{
    AddQuad("CD", 0);
    Grid.Quads[1] = Grid.Quads[0];
    EXPECT_EQ(FindQuadsByName("CD"), 1);
    int q = AddQuad("AB", 0);
    std::memcpy(Grid.Quads[q].QuadName, "ABC", 3);
    EXPECT_EQ(FindQuadsByName("AB"), 0);
    EXPECT_EQ(FindQuadsByName("ABC"), 0);
}

// However many records share a name, MatchList keeps the first twenty and
// nothing beside it is written.
TEST_F(GridLookupTest, MatchListNeverOverflows)
{
    for (int i = 0; i < 30; ++i)
        AddQuad(i % 4 == 0 ? "AB" : "CD", 0); // 22 records named CD
    int16_t count = FindQuadsByName("CD");
    EXPECT_EQ(count, kMaxMatches);
    EXPECT_EQ(MatchList[0], 1);
    EXPECT_EQ(MatchList[kMaxMatches - 1], 26);
    EXPECT_EQ(FindQuadsByName("AB"), 8);

    ResetConversionState();
    for (int i = 0; i < kMaxQuadRecords; ++i)
        AddQuad("CD", 0);
    EXPECT_EQ(FindQuadsByName("CD"), kMaxMatches);
    EXPECT_EQ(MatchList[kMaxMatches - 1], kMaxMatches - 1);
}

// The name index finds the same records in the same order as the walk
// through the table, for names that share, lack or overrun their slot, and
// a record added after the index is not missed.
TEST_F(GridLookupTest, NameIndexFindsWhatTheWalkFinds)
{
    const char *names[] = {"CD", "AB", "", "C", "\xC4X", "ABC", "DC", "A", "CD"};
    for (int i = 0; i < kMaxQuadRecords - 1; ++i) {
        int q = AddQuad(names[(i * 7 + i / 9) % 9], 0);
        if (i % 13 == 0)
            Grid.Quads[q].QuadName[2] = 'Z'; // "CD" -> "CDZ", "C" -> "C\0Z"
    }
    const char *letters[] = {"CD", "AB", "", "C", "\xC4X", "ABC", "DC", "A", "X", "CDZ", "\xC4"};
    std::vector<std::vector<int16_t>> walked;
    for (const char *l : letters) {
        int16_t count = FindQuadsByName(l);
        walked.emplace_back(MatchList, MatchList + count);
    }
    IndexQuadNames(Grid);
    ASSERT_TRUE(HasNameIndex(Grid));
    for (size_t i = 0; i < std::size(letters); ++i) {
        int16_t count = FindQuadsByName(letters[i]);
        EXPECT_EQ(std::vector<int16_t>(MatchList, MatchList + count), walked[i]) << '"' << letters[i] << '"';
    }

    ResetConversionState();
    AddQuad("CD", 0);
    IndexQuadNames(Grid);
    AddQuad("CD", 0);
    EXPECT_EQ(FindQuadsByName("CD"), 2);
}

// Of several records with one name, the first that holds the code wins,
// whichever order they stand in; the last result decides a failure.
TEST_F(GridLookupTest, SeveralRecordsOfOneName)
{
    const struct {
        int FirstType, SecondType;
        const char *Code;
        int16_t Result;
        int Chosen;
    } cases[] = {
        {1, 2, "CD1234", kLocateFound, 1},
        {2, 1, "CD1234", kLocateFound, 0},
        {2, 2, "CD1234", kLocateFound, 0},
        {1, 2, "CD2134", kLocateFound, 0},
        {1, 1, "CD1234", kLocateNotFound, -1},
        {1, 2, "CD12345", kLocateWrongLength, -1},
        {1, 2, "CD1230", kLocateNotFound, -1},
    };
    for (const auto &c : cases) {
        ResetConversionState();
        SetForm(1, 2, 1, {21, 22}); // no cell 12
        SetStandardForm(2);
        AddQuad("AB", 2);
        AddQuad("CD", c.FirstType);
        AddQuad("CD", c.SecondType);
        FlowResult flow = LookUp(c.Code);
        EXPECT_EQ(MatchCount, 2) << c.Code;
        EXPECT_EQ(flow.Result, c.Result) << c.Code << " types " << c.FirstType << "," << c.SecondType;
        EXPECT_EQ(flow.Chosen, c.Chosen < 0 ? -1 : c.Chosen + 1) << c.Code;
    }
}

// A failed lookup leaves the last successful offset in place, and a
// record index outside the table locates nothing.
TEST_F(GridLookupTest, FailuresKeepTheOffset)
{
    int cd = AddWorkedExampleQuad();
    ASSERT_EQ(LocateSubsquare("CD9911", static_cast<int16_t>(cd)), kLocateFound);
    SubsquareOffsetValue found = SubsquareOffset;
    const char *failing[] = {"CD99", "CD9910", "CD0011"};
    for (const char *code : failing) {
        LocateSubsquare(code, static_cast<int16_t>(cd));
        EXPECT_EQ(SubsquareOffset.fracX, found.fracX) << code;
        EXPECT_EQ(SubsquareOffset.fracY, found.fracY) << code;
    }
    EXPECT_EQ(LocateSubsquare("CD1234", -1), kLocateNotFound);
    EXPECT_EQ(LocateSubsquare("CD1234", 1), kLocateNotFound);
    EXPECT_EQ(LocateSubsquare(nullptr, 0), kLocateWrongLength);
}

// Offsets cover the quad evenly: the bottom-left small square is at 0 and
// the top-right one at 80/81 of a 9 x 9 quad.
TEST_F(GridLookupTest, OffsetsOfCornerSquares)
{
    int q = AddQuad("CD", 0);
    SetForm(0, 2, 3, {11, 12, 21, 22, 31, 32});
    const struct {
        const char *Code;
        double FracX, FracY;
    } cases[] = {
        {"CD3177", 0.0, 0.0},
        {"CD1233", 1.0 / 2 + 8.0 / 18, 2.0 / 3 + 8.0 / 27},
        {"CD2255", 1.0 / 2 + 4.0 / 18, 1.0 / 3 + 4.0 / 27},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(LocateSubsquare(c.Code, static_cast<int16_t>(q)), kLocateFound) << c.Code;
        EXPECT_EQ(SubsquareOffset.fracX, static_cast<float>(c.FracX)) << c.Code;
        EXPECT_EQ(SubsquareOffset.fracY, static_cast<float>(c.FracY)) << c.Code;
    }
}

} // namespace
