// Where the grid view draws: the cells of the matched quads as rectangles
// with their two-digit numbers, placed as the quads lie on the globe.
// Portable, no windows.h.
#ifndef ORVANTA_DISPLAY_GRIDLAYOUT_H
#define ORVANTA_DISPLAY_GRIDLAYOUT_H

#include "data/GridDatabase.h"

#include <cstdint>

// Fixed places in the dialog's client area.
enum : int {
    kGridWipeLeft = 20,    // the wiped picture area, right and bottom exclusive
    kGridWipeTop = 20,
    kGridWipeRight = 370,
    kGridWipeBottom = 361,
    kNoGridTextX = 50,
    kNoGridTextY = 50,
    kGridLettersX = 60,
    kGridLettersY = 30,
    kGridOriginX = 60,     // the north-west corner of the drawing
    kGridOriginY = 50,
    kGridTextInset = 2,    // a number sits this far inside its cell
};

// Shown when no quad matched; all 18 characters, the trailing blank too.
extern const char kNoGridText[];
enum : int { kNoGridTextLength = 18 };

// One drawn cell: its rectangle (right and bottom exclusive) and its
// number's text, at most two characters, with the text's top-left corner.
struct GridCell {
    int16_t left;
    int16_t top;
    int16_t right;
    int16_t bottom;
    int16_t textX;
    int16_t textY;
    char text[3];
    int16_t textLength;
};

// Receives the cells in drawing order.
using GridCellSink = void (*)(const GridCell &cell, void *context);

// Lays out every existing cell of the quads in matchList (count entries),
// in list order, each quad row by row from the top, and hands each cell to
// sink.  Entries that name no loaded quad record, quad types outside the
// form table and cells beyond a form's capacity are skipped; a cell is
// never narrower or lower than one drawing unit (9 minutes), so the scales
// stay finite.
void LayOutGridCells(const GridDatabase &db, const int16_t *matchList, int16_t count,
                     GridCellSink sink, void *context);

// The letters written above the drawing: the first entry's quad name, at
// most two characters, in letters (terminated); returns their number, 0
// when the list is empty or its first entry names no loaded record.
int16_t GridLetters(const GridDatabase &db, const int16_t *matchList, int16_t count, char letters[3]);

#endif
