// The two views drawn on a real window through its own device context:
// the window shows what the painting routines draw into a memory context,
// and the chart centre moves only when asked to.
#include "PaintSurface.h"

#include "data/GridDatabase.h"
#include "display/ChartCentre.h"
#include "display/ChartGeometry.h"
#include "display/ChartPaint.h"
#include "display/ChartView.h"
#include "display/GridPaint.h"
#include "display/GridView.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A shown 400 x 400 pop-up window with a white background.
class ViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = AppInstance;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "OrvantaViewTest";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "OrvantaViewTest", "", WS_POPUP | WS_VISIBLE, 0, 0, PaintSurface::kSize,
                                  PaintSurface::kSize, nullptr, nullptr, AppInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        UpdateWindow(window_);
        Pump();
    }
    void TearDown() override {
        if (window_ != nullptr) DestroyWindow(window_);
        Pump();
    }
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    // Copies the window's picture area into a surface.
    void Capture(PaintSurface &surface) const {
        HDC windowDC = GetDC(window_);
        BitBlt(surface.dc(), 0, 0, PaintSurface::kSize, PaintSurface::kSize, windowDC, 0, 0, SRCCOPY);
        ReleaseDC(window_, windowDC);
    }

    // Pixels of the picture area (20,20)-(369,360) where two surfaces differ.
    static int Differences(const PaintSurface &a, const PaintSurface &b) {
        int differ = 0;
        for (int y = 20; y <= 360; ++y)
            for (int x = 20; x <= 369; ++x) differ += a.At(x, y) != b.At(x, y);
        return differ;
    }

    HWND window_ = nullptr;
};

// The chart as PaintChartWindow draws it for a window corner.
void ReferenceChart(PaintSurface &surface, ChartCorner corner) {
    HBITMAP chart = LoadBitmapA(AppInstance, MAKEINTRESOURCEA(kChartBitmapId));
    HDC chartDC = CreateCompatibleDC(surface.dc());
    HGDIOBJ previous = SelectObject(chartDC, chart);
    PaintChartWindow(surface.dc(), chartDC, corner.x, corner.y);
    SelectObject(chartDC, previous);
    DeleteDC(chartDC);
    DeleteObject(chart);
}

TEST_F(ViewWindowTest, ChartViewMovesItsCentreOnlyWhenAsked) {
    struct {
        const char *what;
        int16_t latitude, longitude;
        bool update;
        int16_t centreLatitude, centreLongitude;
    } const steps[] = {
        {"first draw shows the initial centre", 100, 200, false, 3300, 1260},
        {"a conversion moves the centre", 4500, -600, true, 4500, -600},
        {"a repaint keeps it", 0, 0, false, 4500, -600},
        {"another conversion", -4300, 10800, true, -4300, 10800},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        DrawChartView(window_, step.latitude, step.longitude, step.update);
        EXPECT_EQ(ChartCentre.latitude, step.centreLatitude);
        EXPECT_EQ(ChartCentre.longitude, step.centreLongitude);
        PaintSurface shown(RGB(255, 255, 255));
        Capture(shown);
        PaintSurface expected(RGB(255, 255, 255));
        ReferenceChart(expected, ChartCornerFor(step.centreLatitude, step.centreLongitude));
        EXPECT_EQ(Differences(shown, expected), 0);
    }
    ChartCentre = kInitialChartCentre;
}

TEST_F(ViewWindowTest, GridViewDrawsTheProgramsDatabase) {
    ResetGridDatabase(Grid);
    QuadForm &form = Grid.Forms[5];
    form.FormX = 9;
    form.FormY = 9;
    for (int i = 0; i < 81; ++i) form.Numbers[i] = static_cast<int8_t>(11 + i);
    QuadRecord &quad = Grid.Quads[0];
    std::strcpy(quad.QuadName, "CD");
    quad.DownLeftLat = 2916;
    quad.DownLeftLon = 1458;
    quad.SizeLon = -486;
    quad.SizeLat = 486;
    quad.Quadtype = 5;
    Grid.QuadCount = 1;
    const int16_t list[] = {0};
    for (int16_t count : {1, 0}) {
        SCOPED_TRACE(count);
        DrawChartView(window_, 0, 0, false);  // the grid covers the chart
        DrawGridView(window_, list, count);
        PaintSurface shown(RGB(255, 255, 255));
        Capture(shown);
        PaintSurface expected(RGB(255, 255, 255));
        PaintGridView(expected.dc(), Grid, list, count);
        EXPECT_EQ(Differences(shown, expected), 0);
    }
    ResetGridDatabase(Grid);
}

}  // namespace
