// Where the chart view looks: the Mercator mapping from a position to a
// pixel of the world chart, and the placement of the 349 x 341 window, its
// frame and its cross-hair in the picture area.  Portable, no windows.h.
#ifndef ORVANTA_DISPLAY_CHARTGEOMETRY_H
#define ORVANTA_DISPLAY_CHARTGEOMETRY_H

#include <cstdint>

// Geometry of the chart image and of its window in the dialog's client area.
enum : int {
    kChartBitmapId = 138,
    kChartWidth = 1598,
    kChartHeight = 1072,
    kChartCopyLeft = 20,
    kChartCopyTop = 20,
    kChartCopyWidth = 349,
    kChartCopyHeight = 341,
    kLargestSourceColumn = 1239,  // the chart's rightmost 10 columns never show
    kLargestSourceRow = 731,      // kChartHeight - kChartCopyHeight
    kCrossHairX = 190,            // cross-hair centre when the window is not shifted
    kCrossHairY = 200,
    kCrossHairArm = 40,           // pixels from the centre to each arm's end
    kCrossHairColumnOffset = 170, // the centre shows chart pixel (x + 170, y + 180)
    kCrossHairRowOffset = 180,
};

// Top-left chart pixel of the window that puts a position under the
// unshifted cross-hair; it may lie outside the chart.
struct ChartCorner {
    int16_t x;
    int16_t y;
};

// The chart window actually copied (its source corner, inside the chart)
// and how far the cross-hair moves to stay on the position.
struct ChartPlacement {
    int16_t sourceX;
    int16_t sourceY;
    int16_t dx;
    int16_t dy;
};

// One straight line in client-area pixels, from (x0, y0) up to but not
// including (x1, y1).
struct ChartLine {
    int16_t x0;
    int16_t y0;
    int16_t x1;
    int16_t y1;
};

// The frame's corners in drawing order, closing back on the first.
extern const ChartLine kChartFrame[4];

// The Mercator ordinate, in degrees, of a latitude in degrees.
double MercatorOrdinate(double latitudeDegrees);

// Maps whole minutes (latitude positive north, longitude positive west) to
// the window corner.  Latitudes at or past the poles, and ordinates beyond
// the chart's top or bottom row, put the cross-hair on that row.
ChartCorner ChartCornerFor(int16_t latitudeMinutes, int16_t longitudeMinutes);

// Clamps a window corner to the chart, keeping the remainder as the shift.
ChartPlacement PlaceChartWindow(int16_t x, int16_t y);

// The horizontal (index 0) and vertical (index 1) arms of the cross-hair
// for a placement's shift.  A large shift puts them partly or wholly
// outside the frame.
void CrossHairArms(const ChartPlacement &placement, ChartLine arms[2]);

// Cuts a horizontal or vertical line to the frame's rectangle, the frame's
// own pixels included, so that nothing is drawn beside the chart window;
// the pixels it keeps are those the whole line covers there.  False when
// nothing of the line is left.
bool ClipToChartFrame(ChartLine &line);

#endif
