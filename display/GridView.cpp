// The grid view on the main dialog: the program's database drawn through
// the window's device context.
#include "display/GridView.h"

#include "display/GridPaint.h"

// Obtains the window's context, paints the matched quads, gives it back.
void DrawGridView(HWND window, const int16_t *matchList, int16_t count) {
    HDC windowDC = GetDC(window);
    if (windowDC == nullptr) return;
    PaintGridView(windowDC, Grid, matchList, count);
    ReleaseDC(window, windowDC);
}
