// The chart view's arithmetic: Mercator mapping, window clamping and the
// lines drawn over the copied chart.
#include "display/ChartGeometry.h"

#include "display/Truncate.h"

#include <cmath>

namespace {

// Window rows that put the cross-hair on the chart's top and bottom rows.
constexpr double kTopRowCorner = -kCrossHairRowOffset;
constexpr double kBottomRowCorner = kChartHeight - 1 - kCrossHairRowOffset;

// The pixels inside the frame and on it, right and bottom exclusive: the
// frame's right side lies just past the copy, its bottom side on the
// copy's last row.
constexpr int kFrameLeft = kChartCopyLeft;
constexpr int kFrameTop = kChartCopyTop;
constexpr int kFrameRight = kChartCopyLeft + kChartCopyWidth + 1;
constexpr int kFrameBottom = kChartCopyTop + kChartCopyHeight;

// A latitude of 90 degrees, in whole minutes.
constexpr int16_t kPoleMinutes = 5400;

// Window row of a latitude, pinned to the chart's top or bottom row when
// the pole is reached or the ordinate leaves the chart.
double CornerRow(int16_t latitudeMinutes) {
    if (latitudeMinutes >= kPoleMinutes) return kTopRowCorner;
    if (latitudeMinutes <= -kPoleMinutes) return kBottomRowCorner;
    const double degrees = latitudeMinutes * 0.016666666666666666;
    const double row = 379.0 - MercatorOrdinate(degrees) * 3.676;
    if (std::isnan(row)) return latitudeMinutes > 0 ? kTopRowCorner : kBottomRowCorner;
    if (row < kTopRowCorner) return kTopRowCorner;
    if (row > kBottomRowCorner) return kBottomRowCorner;
    return row;
}

// Narrows the half-open run [from, to) to [low, high); false when it
// becomes empty.
bool ClipRun(int16_t &from, int16_t &to, int low, int high) {
    if (from < low) from = static_cast<int16_t>(low);
    if (to > high) to = static_cast<int16_t>(high);
    return from < to;
}

// Clamps one coordinate of the window corner to 0..largest, returning the
// part cut off as the shift.
void ClampCorner(int16_t value, int16_t largest, int16_t &source, int16_t &shift) {
    if (value < 0) {
        source = 0;
        shift = value;
    } else if (value > largest) {
        source = largest;
        shift = static_cast<int16_t>(value - largest);
    } else {
        source = value;
        shift = 0;
    }
}

}  // namespace

const ChartLine kChartFrame[4] = {
    {20, 20, 369, 20},
    {369, 20, 369, 360},
    {369, 360, 20, 360},
    {20, 360, 20, 20},
};

// ln(tan(d * pi/180 / 2 + pi/4)) * 180/pi, with pi taken as 3.141592654.
double MercatorOrdinate(double latitudeDegrees) {
    return std::log(std::tan(latitudeDegrees * 0.017453292522222223 * 0.5 + 0.7853981635)) *
           57.29577950560105;
}

// x = 627 - longitude * 0.0615..., y = 379 - ordinate * 3.676, truncated.
ChartCorner ChartCornerFor(int16_t latitudeMinutes, int16_t longitudeMinutes) {
    ChartCorner corner;
    corner.x = TruncateToInt16(627.0 - longitudeMinutes * 0.06156866666666666);
    corner.y = TruncateToInt16(CornerRow(latitudeMinutes));
    return corner;
}

// Source columns 0..1239 and rows 0..731; the rest becomes the shift.
ChartPlacement PlaceChartWindow(int16_t x, int16_t y) {
    ChartPlacement placement;
    ClampCorner(x, kLargestSourceColumn, placement.sourceX, placement.dx);
    ClampCorner(y, kLargestSourceRow, placement.sourceY, placement.dy);
    return placement;
}

// Two 80-pixel arms crossing at (190 + dx, 200 + dy).
void CrossHairArms(const ChartPlacement &placement, ChartLine arms[2]) {
    const int cx = kCrossHairX + placement.dx;
    const int cy = kCrossHairY + placement.dy;
    arms[0] = {static_cast<int16_t>(cx - kCrossHairArm), static_cast<int16_t>(cy),
               static_cast<int16_t>(cx + kCrossHairArm), static_cast<int16_t>(cy)};
    arms[1] = {static_cast<int16_t>(cx), static_cast<int16_t>(cy - kCrossHairArm),
               static_cast<int16_t>(cx), static_cast<int16_t>(cy + kCrossHairArm)};
}

// A horizontal line covers the pixels [x0, x1) of its row, a vertical one
// [y0, y1) of its column; its row or column must lie inside the frame.
bool ClipToChartFrame(ChartLine &line) {
    if (line.y0 == line.y1) {
        return line.y0 >= kFrameTop && line.y0 < kFrameBottom && ClipRun(line.x0, line.x1, kFrameLeft, kFrameRight);
    }
    return line.x0 >= kFrameLeft && line.x0 < kFrameRight && ClipRun(line.y0, line.y1, kFrameTop, kFrameBottom);
}
