// The GDI operations of one grid draw, on a device context the caller owns.
#include "display/GridPaint.h"

#include "display/GridLayout.h"

namespace {

// One cell: its outlined white rectangle, then its number inside.
void DrawCell(const GridCell &cell, void *context) {
    HDC target = static_cast<HDC>(context);
    Rectangle(target, cell.left, cell.top, cell.right, cell.bottom);
    TextOutA(target, cell.textX, cell.textY, cell.text, cell.textLength);
}

}  // namespace

// Wipe, then either the empty-list text or the cells and the letters.
void PaintGridView(HDC target, const GridDatabase &db, const int16_t *matchList, int16_t count) {
    Rectangle(target, kGridWipeLeft, kGridWipeTop, kGridWipeRight, kGridWipeBottom);
    if (count <= 0) {
        TextOutA(target, kNoGridTextX, kNoGridTextY, kNoGridText, kNoGridTextLength);
        return;
    }
    LayOutGridCells(db, matchList, count, DrawCell, target);
    char letters[3];
    const int16_t length = GridLetters(db, matchList, count, letters);
    if (length > 0) TextOutA(target, kGridLettersX, kGridLettersY, letters, length);
}
