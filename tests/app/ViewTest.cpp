// The picture area: switching between the grid and the chart view, what
// each shows from the stored state, and repainting after an uncover.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

const ChartWindow kInitialChart = {549, 135, 0, 0};
const ChartWindow kChartAtCD1234 = {524, 125, 0, 0};

// The empty grid view: white inside the frame, "No Grid Selected. " at
// (50, 50) and nothing else.
bool ShowsNoGridSelected(HWND dialog)
{
    Picture client = CaptureClient(dialog);
    std::vector<RECT> cover = ControlCover(dialog);
    if (client.At(20, 20) != kBlack || client.At(369, 360) != kBlack || client.At(300, 300) != kWhite)
        return false;
    int text = DarkPixels(client, {50, 50, 250, 70}, cover);
    int elsewhere = DarkPixels(client, {21, 21, 369, 50}, cover) + DarkPixels(client, {21, 70, 369, 360}, cover);
    return text > 50 && elsewhere == 0;
}

// The grid view of quad CD alone: 9 x 9 cells of 24 pixels from (60, 50),
// the letters above them at (60, 30), white beyond the last cell.
bool ShowsQuadCD(HWND dialog)
{
    Picture client = CaptureClient(dialog);
    std::vector<RECT> cover = ControlCover(dialog);
    return client.At(60, 50) == kBlack && client.At(83, 60) == kBlack && client.At(84, 60) == kBlack &&
           client.At(60, 73) == kBlack && client.At(275, 265) == kBlack && client.At(80, 70) == kWhite &&
           client.At(280, 270) == kWhite && client.At(300, 300) == kWhite &&
           DarkPixels(client, {60, 30, 80, 48}, cover) > 10;
}

TEST(Views, GridBeforeAnyCodeSaysNoGridSelected)
{
    Picture chart = LoadChart();
    OrvantaRun run("views-empty", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    run.Click(1013);
    EXPECT_TRUE(run.Checked(1013));
    EXPECT_FALSE(run.Checked(1014));
    EXPECT_TRUE(WaitFor([&] { return ShowsNoGridSelected(run.Dialog()); }));
    run.Click(1014);
    EXPECT_TRUE(run.Checked(1014));
    EXPECT_FALSE(run.Checked(1013));
    EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
}

TEST(Views, GridShowsTheQuadsOfTheLastCode)
{
    Picture chart = LoadChart();
    OrvantaRun run("views-quads", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);

    // A failed lookup still leaves its quads for the grid view.
    run.Convert("CD12");
    EXPECT_EQ(run.Text(1012), " Use 6 chars, example CD1234 ");
    run.Click(1013);
    EXPECT_TRUE(WaitFor([&] { return ShowsQuadCD(run.Dialog()); }));
    SaveScreenshot(run.Dialog(), "03-grid-view-CD");

    // Letters that match nothing empty the list; the view changes at the
    // next draw, not at the failed Convert.
    run.Convert("XX1234");
    EXPECT_EQ(run.Text(1012), " Grid not in database.");
    EXPECT_TRUE(WaitFor([&] { return ShowsQuadCD(run.Dialog()); }));
    run.Click(1014);
    EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
    run.Click(1013);
    EXPECT_TRUE(WaitFor([&] { return ShowsNoGridSelected(run.Dialog()); }));
}

TEST(Views, ChartComesBackAtTheStoredCentre)
{
    Picture chart = LoadChart();
    OrvantaRun run("views-centre", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    run.Convert("CD1234");
    EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kChartAtCD1234), 0);
    run.Click(1013);
    EXPECT_TRUE(WaitFor([&] { return ShowsQuadCD(run.Dialog()); }));
    run.Click(1014);
    EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kChartAtCD1234), 0);
}

// Which view is shown, how the dialog is made to repaint, and what it must
// show afterwards.
struct RepaintCase {
    const char *Name;
    bool GridMode;
    bool EraseBackground;
};

const RepaintCase kRepaintCases[] = {
    {"chart, invalidated with erase", false, true},
    {"chart, invalidated without erase", false, false},
    {"grid, invalidated with erase", true, true},
};

TEST(Views, RepaintKeepsThePicture)
{
    Picture chart = LoadChart();
    for (const RepaintCase &c : kRepaintCases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run("views-repaint", DataFile::Good);
        ASSERT_NE(run.Dialog(), nullptr);
        run.Convert("CD1234");
        if (c.GridMode)
            run.Click(1013);
        InvalidateRect(run.Dialog(), nullptr, c.EraseBackground);
        run.Sync();
        Sleep(300);
        run.Sync();
        if (c.GridMode)
            EXPECT_TRUE(WaitFor([&] { return ShowsQuadCD(run.Dialog()); }));
        else
            EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kChartAtCD1234), 0);
    }
}

} // namespace
