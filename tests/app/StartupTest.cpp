// Start-up: the first message for each kind of data file, the selected
// view, the focus, the hidden frame window and the first chart.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

struct StartupCase {
    const char *Name;
    DataFile Data;
    const char *Message;
};

const StartupCase kStartupCases[] = {
    {"loaded", DataFile::Good, " Enter Grid code."},
    {"not-found", DataFile::Missing, " *** DATAFILE NOT FOUND ***"},
    {"faulty", DataFile::Faulty, " ****** DATAFILE ERROR *****"},
};

// ChartCentre starts at 55 N, 21 W: chart pixel (549, 135) at the corner.
const ChartWindow kInitialChart = {549, 135, 0, 0};

// The frame window of this run: class "ORVANTA", nameless.
HWND FindFrameWindow(const OrvantaRun &run)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "ORVANTA", nullptr)) != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == run.ProcessId())
            return window;
    }
    return nullptr;
}

TEST(Startup, FirstMessageViewFocusAndChart)
{
    Picture chart = LoadChart();
    ASSERT_EQ(chart.Width, 1598);
    for (const StartupCase &c : kStartupCases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run(std::string("startup-") + c.Name, c.Data);
        ASSERT_NE(run.Dialog(), nullptr);
        EXPECT_EQ(run.Text(1012), c.Message);
        EXPECT_TRUE(run.Checked(1014));
        EXPECT_FALSE(run.Checked(1013));
        EXPECT_EQ(run.Focus(), run.Item(1000));
        EXPECT_EQ(run.Text(1000), "");
        EXPECT_EQ(run.Text(1003), "");
        EXPECT_EQ(run.Text(1002), "");
        EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
        if (c.Data == DataFile::Good)
            SaveScreenshot(run.Dialog(), "01-initial-chart");
    }
}

TEST(Startup, FrameWindowStaysHiddenAndNameless)
{
    OrvantaRun run("startup-frame", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    HWND frame = FindFrameWindow(run);
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_EQ(GetWindowTextLengthA(frame), 0);
    EXPECT_EQ(GetWindowLongA(frame, GWL_STYLE) & (WS_VISIBLE | WS_DLGFRAME), WS_DLGFRAME);
    // The class redraws on resizing and brings the menu (its icons and
    // brush are not visible from another process under Wine).
    EXPECT_EQ(GetClassLongA(frame, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
    EXPECT_NE(GetMenu(frame), nullptr);

    // The dialog has no owner (it is not the frame window's), a menu bar,
    // a minimize box, and neither a maximize box nor a sizing border.
    HWND dialog = run.Dialog();
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_NE(GetMenu(dialog), nullptr);
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CAPTION | WS_SYSMENU),
              WS_MINIMIZEBOX | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(run.VisibleWindows(), 1);
}

} // namespace
