// Drawing the chart window into any device context: the copy of the chart,
// its frame and the cross-hair.
#ifndef ORVANTA_DISPLAY_CHARTPAINT_H
#define ORVANTA_DISPLAY_CHARTPAINT_H

#include <windows.h>

#include <cstdint>

// Copies the 349 x 341 chart window whose top-left corner is chart pixel
// (x, y), clamped to the chart, from chartDC (which holds the chart bitmap)
// to (20, 20) of target, then draws the frame and the cross-hair with
// target's current pen; the cross-hair never reaches past the frame, however
// far it is shifted.  chartDC gets target's mapping mode.  A null
// chartDC (no chart available) draws only the frame and the cross-hair.
void PaintChartWindow(HDC target, HDC chartDC, int16_t x, int16_t y);

#endif
