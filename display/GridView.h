// The grid view: the cells of the matched quads with their numbers.
#ifndef ORVANTA_DISPLAY_GRIDVIEW_H
#define ORVANTA_DISPLAY_GRIDVIEW_H

#include <windows.h>

#include <cstdint>

// Wipes the picture area and draws the quads of matchList (count entries),
// or "No Grid Selected. " when count is 0 or less.
void DrawGridView(HWND window, const int16_t *matchList, int16_t count);

#endif
