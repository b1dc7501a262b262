// The GDI operations of one chart draw, on device contexts the caller owns.
#include "display/ChartPaint.h"

#include "display/ChartGeometry.h"

namespace {

// One line from its start point up to, not including, its end point.
void DrawLine(HDC target, const ChartLine &line) {
    MoveToEx(target, line.x0, line.y0, nullptr);
    LineTo(target, line.x1, line.y1);
}

}  // namespace

// Copy, then frame, then the horizontal and the vertical arm, each cut to
// the frame.
void PaintChartWindow(HDC target, HDC chartDC, int16_t x, int16_t y) {
    const ChartPlacement placement = PlaceChartWindow(x, y);
    if (chartDC != nullptr) {
        SetMapMode(chartDC, GetMapMode(target));
        POINT source = {placement.sourceX, placement.sourceY};
        DPtoLP(chartDC, &source, 1);
        BitBlt(target, kChartCopyLeft, kChartCopyTop, kChartCopyWidth, kChartCopyHeight, chartDC,
               source.x, source.y, SRCCOPY);
    }
    MoveToEx(target, kChartFrame[0].x0, kChartFrame[0].y0, nullptr);
    for (const ChartLine &side : kChartFrame) LineTo(target, side.x1, side.y1);
    ChartLine arms[2];
    CrossHairArms(placement, arms);
    for (ChartLine &arm : arms) {
        if (ClipToChartFrame(arm)) DrawLine(target, arm);
    }
}
