// The About box: opened from the main dialog's menu command, showing the
// data file's About line, closed by Ok, Esc and the close box.
#include <gtest/gtest.h>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

enum class Closing { OkButton, Escape, CloseBox };

struct AboutCase {
    const char *Name;
    DataFile Data;
    const char *AboutLine;
    Closing Close;
};

const AboutCase kAboutCases[] = {
    {"loaded, Ok", DataFile::Good, "Orvanta test grid, three charts", Closing::OkButton},
    {"not found, Esc", DataFile::Missing, "DataFile ERROR", Closing::Escape},
    {"faulty, close box", DataFile::Faulty, "Faulty test grid: three names for two quads", Closing::CloseBox},
};

const ChartWindow kInitialChart = {549, 135, 0, 0};

// Closes the About box the chosen way.
void CloseAbout(const OrvantaRun &run, HWND about, Closing close)
{
    switch (close) {
    case Closing::OkButton:
        SendMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        break;
    case Closing::Escape:
        run.Post(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
        break;
    case Closing::CloseBox:
        run.Post(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

// The text of a control of another dialog.
std::string ItemText(HWND dialog, int id)
{
    char text[512] = "";
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(AboutBox, ShowsTheAboutLineAndCloses)
{
    Picture chart = LoadChart();
    for (const AboutCase &c : kAboutCases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run("about", c.Data);
        ASSERT_NE(run.Dialog(), nullptr);
        run.Post(run.Dialog(), WM_COMMAND, 104, 0);
        HWND about = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (about = run.FindOwnWindow("About")) != nullptr && IsWindowVisible(about); }));
        run.Sync();
        EXPECT_EQ(ItemText(about, 1015), c.AboutLine);
        EXPECT_EQ(GetWindow(about, GW_OWNER), run.Dialog());
        EXPECT_FALSE(IsWindowEnabled(run.Dialog()));
        if (c.Data == DataFile::Good) {
            Sleep(300);
            SaveScreenshot(about, "04-about-box");
        }

        CloseAbout(run, about, c.Close);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(run.Dialog()) != FALSE; }));
        EXPECT_TRUE(IsWindowVisible(run.Dialog()));
        // The About box lay over the picture area; the chart comes back.
        EXPECT_EQ(WaitForChartView(run.Dialog(), chart, kInitialChart), 0);
    }
}

} // namespace
