// The chart view on the main dialog: the remembered centre, the chart
// bitmap loaded once per run, and the window's device context.
#include "display/ChartView.h"

#include "display/ChartCentre.h"
#include "display/ChartGeometry.h"
#include "display/ChartPaint.h"

namespace {

// The world chart, held from its first successful load to the end of the run.
HBITMAP ChartBitmap = nullptr;

// Loads bitmap 138 from the program's module on first use; a failed load
// is tried again on the next draw.
HBITMAP LoadedChartBitmap() {
    if (ChartBitmap == nullptr) {
        ChartBitmap = LoadBitmapA(AppInstance, MAKEINTRESOURCEA(kChartBitmapId));
    }
    return ChartBitmap;
}

}  // namespace

// Optionally moves the centre, maps it to a chart pixel and draws there.
void DrawChartView(HWND window, int16_t latitudeMinutes, int16_t longitudeMinutes, bool updateCentre) {
    if (updateCentre) {
        ChartCentre.latitude = latitudeMinutes;
        ChartCentre.longitude = longitudeMinutes;
    }
    const ChartCorner corner = ChartCornerFor(ChartCentre.latitude, ChartCentre.longitude);
    DrawChartWindow(window, corner.x, corner.y);
}

// Obtains the window's context, puts the chart into an off-screen context
// compatible with it, paints, and gives both back.
void DrawChartWindow(HWND window, int16_t x, int16_t y) {
    HDC windowDC = GetDC(window);
    if (windowDC == nullptr) return;
    HDC chartDC = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = LoadedChartBitmap();
    HGDIOBJ previous = nullptr;
    if (chartDC != nullptr && bitmap != nullptr) previous = SelectObject(chartDC, bitmap);
    PaintChartWindow(windowDC, previous != nullptr ? chartDC : nullptr, x, y);
    if (chartDC != nullptr) {
        if (previous != nullptr) SelectObject(chartDC, previous);
        DeleteDC(chartDC);
    }
    ReleaseDC(window, windowDC);
}
