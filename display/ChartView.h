// The chart view: a 349 x 341 window of the world chart in the dialog's
// picture area, scrolled so that a cross-hair sits on a position.
#ifndef ORVANTA_DISPLAY_CHARTVIEW_H
#define ORVANTA_DISPLAY_CHARTVIEW_H

#include <windows.h>

#include <cstdint>

// The program's module instance; bitmap 138, the world chart, is loaded
// from it.  The program's start-up code defines it.
extern HINSTANCE AppInstance;

// Redraws the chart at ChartCentre; with updateCentre the centre first
// becomes the given whole minutes (latitude positive north, longitude
// positive west).
void DrawChartView(HWND window, int16_t latitudeMinutes, int16_t longitudeMinutes, bool updateCentre);

// Copies the chart window whose top-left corner is chart pixel (x, y) into
// the picture area and draws the frame and the cross-hair.
void DrawChartWindow(HWND window, int16_t x, int16_t y);

#endif
