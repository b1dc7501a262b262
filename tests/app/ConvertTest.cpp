// The Convert command from outside: fields, messages and chart for good
// and bad codes, typing, Enter and Caps Lock, and a data file that failed.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

const char kBlank32[] = "                                ";
const char kOk[] = " Ok.";
const char kNoGrid[] = " Grid not in database.";
const char kWrongLength[] = " Use 6 chars, example CD1234 ";
const char kNoPosition[] = " Position not in database  ";
const char kBlank4[] = "    ";

const ChartWindow kInitialChart = {549, 135, 0, 0};

struct ConvertCase {
    const char *Code;
    const char *Message;
    const char *Latitude;
    const char *Longitude;
    ChartWindow Chart; // what the chart shows afterwards
};

// One run through the test grid (tests/app/fixtures/grid.txt): CD and CE
// on chart 1; AB twice, first on chart 2 with a 3 x 3 form lacking 33 and
// 44, then on chart 1.  Chart corners follow from the whole minutes of
// each position through the chart's Mercator registration.  Each kind of
// failure comes once right after a position was shown: it blanks both
// fields and leaves the chart where it was.
const ConvertCase kChartModeCases[] = {
    {"CD1234", kOk, "56\xB0" "33.00 N", "27\xB0" "40.50 W", {524, 125, 0, 0}},
    {"AB1234", kBlank32, "0\xB0" "20.00 S", "15\xB0" "10.00 E", {683, 380, 0, 0}},
    {"AB4455", kOk, "44\xB0" "33.00 N", "50\xB0" "19.50 W", {441, 195, 0, 0}},
    {"AB3399", kOk, "47\xB0" "45.00 N", "38\xB0" "55.50 W", {483, 178, 0, 0}},
    {"CE5555", kOk, "52\xB0" "39.00 N", "11\xB0" "46.50 W", {583, 150, 0, 0}},
    {"XX1234", kNoGrid, kBlank4, kBlank4, {583, 150, 0, 0}},
    {"CD1111", kOk, "56\xB0" "39.00 N", "29\xB0" "55.50 W", {516, 125, 0, 0}},
    {"CD12", kWrongLength, kBlank4, kBlank4, {516, 125, 0, 0}},
    {"CD1234 ", kWrongLength, kBlank4, kBlank4, {516, 125, 0, 0}},
    {"AB4455", kOk, "44\xB0" "33.00 N", "50\xB0" "19.50 W", {441, 195, 0, 0}},
    {"CD1230", kNoPosition, kBlank4, kBlank4, {441, 195, 0, 0}},
    {"AB1200", kNoPosition, kBlank4, kBlank4, {441, 195, 0, 0}},
    {"CE5555", kOk, "52\xB0" "39.00 N", "11\xB0" "46.50 W", {583, 150, 0, 0}},
    {"", kNoGrid, kBlank4, kBlank4, {583, 150, 0, 0}},
    {"XX12", kNoGrid, kBlank4, kBlank4, {583, 150, 0, 0}},
};

TEST(Convert, CodesInChartMode)
{
    Picture chart = LoadChart();
    OrvantaRun run("convert-chart", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    for (const ConvertCase &c : kChartModeCases) {
        SCOPED_TRACE(std::string("code \"") + c.Code + "\"");
        run.Convert(c.Code);
        EXPECT_EQ(run.Text(1012), c.Message);
        EXPECT_EQ(run.Text(1003), c.Latitude);
        EXPECT_EQ(run.Text(1002), c.Longitude);
        EXPECT_EQ(WaitForChartView(run.Dialog(), chart, c.Chart), 0);
        if (std::string(c.Code) == "CD1234")
            SaveScreenshot(run.Dialog(), "02-converted-CD1234");
    }
}

TEST(Convert, GridModeLeavesTheChartCentre)
{
    Picture chart = LoadChart();
    OrvantaRun run("convert-grid", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    run.Click(1013);
    run.Convert("CD1234");
    EXPECT_EQ(run.Text(1012), kOk);
    EXPECT_EQ(run.Text(1003), "56\xB0" "33.00 N");
    EXPECT_EQ(run.Text(1002), "27\xB0" "40.50 W");
    // The grid view shows CD's 9 x 9 cells, 24 pixels square from (60, 50).
    EXPECT_TRUE(WaitFor([&] {
        Picture client = CaptureClient(run.Dialog());
        return client.At(60, 50) == kBlack && client.At(275, 265) == kBlack && client.At(280, 270) == kWhite;
    }));
    run.Click(1014);
    EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
}

TEST(Convert, NothingHappensWithoutData)
{
    Picture chart = LoadChart();
    const struct {
        DataFile Data;
        const char *Name;
        const char *Message;
    } cases[] = {
        {DataFile::Missing, "convert-missing", " *** DATAFILE NOT FOUND ***"},
        {DataFile::Faulty, "convert-faulty", " ****** DATAFILE ERROR *****"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run(c.Name, c.Data);
        ASSERT_NE(run.Dialog(), nullptr);
        for (const char *code : {"CD1234", "XX1234", "CD12"}) {
            run.Convert(code);
            EXPECT_EQ(run.Text(1012), c.Message);
            EXPECT_EQ(run.Text(1003), "");
            EXPECT_EQ(run.Text(1002), "");
        }
        EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
    }
}

// Quads far off the globe (tests/app/fixtures/absurd.txt) and one that
// reaches the pole: the texts show what the data says, and the chart view
// gets whole minutes clamped to its 16-bit centre instead of an undefined
// conversion.
const ConvertCase kAbsurdCases[] = {
    {"ZN1234", kOk, "607\xB0" "57.00 N", "697\xB0" "40.50 W", {}},
    {"ZS1234", kOk, "600\xB0" "9.00 S", "690\xB0" "10.50 E", {}},
    {"ZP1111", kOk, "89\xB0" "57.00 N", "29\xB0" "55.50 W", {}},
};

TEST(Convert, PositionsOffTheGlobeKeepTheProgramRunning)
{
    OrvantaRun run("convert-absurd", DataFile::Absurd);
    ASSERT_NE(run.Dialog(), nullptr);
    for (const ConvertCase &c : kAbsurdCases) {
        SCOPED_TRACE(c.Code);
        run.Convert(c.Code);
        EXPECT_EQ(run.Text(1012), c.Message);
        EXPECT_EQ(run.Text(1003), c.Latitude);
        EXPECT_EQ(run.Text(1002), c.Longitude);
    }
    run.Click(1013);
    run.Click(1014);
    EXPECT_EQ(run.WaitForExit(200), -1);
    EXPECT_TRUE(IsWindowVisible(run.Dialog()));
}

// Posts the characters of text to the code field as typed characters.
void Type(const OrvantaRun &run, const char *text)
{
    for (const char *p = text; *p != '\0'; ++p)
        run.Post(run.Item(1000), WM_CHAR, static_cast<unsigned char>(*p), 1);
    run.Sync();
}

TEST(Convert, TypedLettersBecomeUpperCase)
{
    OrvantaRun run("convert-typing", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    Type(run, "cd1234");
    EXPECT_EQ(run.Text(1000), "CD1234");
    run.Click(1001);
    EXPECT_EQ(run.Text(1012), kOk);
    EXPECT_EQ(run.Text(1003), "56\xB0" "33.00 N");
}

// Keys posted to a window of the dialog, and whether they convert.
struct KeyCase {
    const char *Name;
    bool ToDialog; // else to the code field
    WPARAM Key;
    bool Converts;
};

const KeyCase kKeyCases[] = {
    {"Enter in the code field", false, VK_RETURN, false},
    {"Caps Lock in the code field", false, VK_CAPITAL, false},
    {"A to the dialog", true, 'A', false},
    {"Enter to the dialog", true, VK_RETURN, false},
    {"Caps Lock to the dialog", true, VK_CAPITAL, true},
};

TEST(Convert, OnlyCapsLockToTheDialogConverts)
{
    for (const KeyCase &c : kKeyCases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run("convert-keys", DataFile::Good);
        ASSERT_NE(run.Dialog(), nullptr);
        run.SetText(1000, "CD1234");
        HWND target = c.ToDialog ? run.Dialog() : run.Item(1000);
        run.Post(target, WM_KEYDOWN, c.Key, 1);
        if (c.Key == VK_RETURN)
            run.Post(target, WM_CHAR, '\r', 1);
        run.Post(target, WM_KEYUP, c.Key, 0xC0000001);
        run.Sync();
        if (c.Converts)
            EXPECT_TRUE(WaitFor([&] { return run.Text(1012) == kOk; })) << run.Text(1012);
        else
            EXPECT_EQ(run.Text(1012), " Enter Grid code.");
        EXPECT_EQ(run.Text(1000), "CD1234");
        EXPECT_TRUE(IsWindowVisible(run.Dialog()));
    }
}

TEST(Convert, MessageFieldHandsTheFocusBack)
{
    OrvantaRun run("convert-focus", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    run.Post(run.Item(1012), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    run.Post(run.Item(1012), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    run.Sync();
    EXPECT_EQ(run.Focus(), run.Item(1000));
    // A click into the Latitude field keeps the focus there: only the
    // message field hands it back.
    run.Post(run.Item(1003), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    run.Post(run.Item(1003), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    run.Sync();
    EXPECT_EQ(run.Focus(), run.Item(1003));
}

} // namespace
