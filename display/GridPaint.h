// Drawing the grid view into any device context.
#ifndef ORVANTA_DISPLAY_GRIDPAINT_H
#define ORVANTA_DISPLAY_GRIDPAINT_H

#include "data/GridDatabase.h"

#include <windows.h>

#include <cstdint>

// Wipes the picture area and draws the cells of the quads in matchList
// (count entries) of db with their numbers and the first entry's letters,
// or "No Grid Selected. " when count is 0 or less; target's current pen,
// brush and font are used.
void PaintGridView(HDC target, const GridDatabase &db, const int16_t *matchList, int16_t count);

#endif
