// The grid view's arithmetic: the north-west corner of the matched quads,
// the cell size and scales, and each cell's rectangle and number text.
#include "display/GridLayout.h"

#include "display/Truncate.h"

#include <cstdio>
#include <cstring>

const char kNoGridText[] = "No Grid Selected. ";

namespace {

// One ninth in single precision: positions and extents become drawing
// units of 9 minutes.
constexpr float kNinth = 0.11111111f;

// The pixels per drawing unit, taken from the first quad.
struct GridScale {
    float sx;
    float sy;
};

// The size of one cell of a quad, in drawing units.
struct CellSize {
    int16_t w;
    int16_t h;
};

// Whether a list entry names a loaded quad record whose form lies in the table.
bool IsDrawable(const GridDatabase &db, int16_t index) {
    if (index < 0 || index >= db.QuadCount || index >= kMaxQuadRecords) return false;
    const int16_t type = db.Quads[index].Quadtype;
    return type >= 0 && type < kMaxQuadTypes;
}

// The number of list entries that may be read: never more than a match list holds.
int16_t UsableCount(int16_t count) {
    if (count < 0) return 0;
    return count > kMaxSameName ? static_cast<int16_t>(kMaxSameName) : count;
}

// extent / (cells * 9), truncated, made non-negative and at least 1; a
// form without cells that way counts as one unit.
int16_t CellExtent(float extent, int16_t cells) {
    if (cells == 0) return 1;
    const float quotient = extent / static_cast<float>(cells * 9);
    int32_t units = TruncateClamped(quotient, -INT16_MAX, INT16_MAX);
    if (units < 0) units = -units;
    return static_cast<int16_t>(units == 0 ? 1 : units);
}

// w = SizeLon / (FormX * 9) and h = SizeLat / (FormY * 9).
CellSize CellSizeOf(const QuadRecord &quad, const QuadForm &form) {
    return {CellExtent(quad.SizeLon, form.FormX), CellExtent(quad.SizeLat, form.FormY)};
}

// Square cells for the first quad: sy = 4, sx = 4 * h / w.
GridScale ScaleFor(CellSize size) {
    return {static_cast<float>(4.0 * size.h / size.w), 4.0f};
}

// A pixel coordinate, truncated toward zero and kept within 16 bits.
int16_t Pixel(float value) {
    return TruncateToInt16(value);
}

// Formats a cell number with "%02d" and keeps its first two characters.
void NumberText(int8_t number, GridCell &cell) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", static_cast<int>(number));
    cell.textLength = static_cast<int16_t>(std::strlen(buffer) < 2 ? std::strlen(buffer) : 2);
    std::memcpy(cell.text, buffer, static_cast<size_t>(cell.textLength));
    cell.text[cell.textLength] = '\0';
}

// Hands every existing cell of one quad to sink; ox and oy are the quad's
// offsets from the north-west corner in drawing units.
void LayOutQuad(const QuadForm &form, CellSize size, float ox, float oy, GridScale scale,
                GridCellSink sink, void *context) {
    for (int r = 0; r < form.FormY; ++r) {
        for (int c = 0; c < form.FormX; ++c) {
            const int slot = r * form.FormX + c;
            if (slot >= kMaxFormCells) return;
            const int8_t number = form.Numbers[slot];
            if (number == -1) continue;
            const float xL = (static_cast<float>(c * size.w) + ox) * scale.sx;
            const float yT = (static_cast<float>(r * size.h) + oy) * scale.sy;
            const float xR = (static_cast<float>((c + 1) * size.w) + ox) * scale.sx;
            const float yB = (static_cast<float>((r + 1) * size.h) + oy) * scale.sy;
            GridCell cell;
            cell.left = Pixel(xL + kGridOriginX);
            cell.top = Pixel(yT + kGridOriginY);
            cell.right = Pixel(xR + kGridOriginX);
            cell.bottom = Pixel(yB + kGridOriginY);
            cell.textX = Pixel(xL + (kGridOriginX + kGridTextInset));
            cell.textY = Pixel(yT + (kGridOriginY + kGridTextInset));
            NumberText(number, cell);
            sink(cell, context);
        }
    }
}

}  // namespace

// Finds the north-west corner, sets the scales from the first quad, then
// lays out each quad relative to that corner.
void LayOutGridCells(const GridDatabase &db, const int16_t *matchList, int16_t count,
                     GridCellSink sink, void *context) {
    const int16_t usable = UsableCount(count);
    float top = -15000.0f;
    float west = -15000.0f;
    for (int k = 0; k < usable; ++k) {
        if (!IsDrawable(db, matchList[k])) continue;
        const QuadRecord &quad = db.Quads[matchList[k]];
        const float quadTop = quad.DownLeftLat + quad.SizeLat;
        if (quadTop > top) top = quadTop;
        if (quad.DownLeftLon > west) west = quad.DownLeftLon;
    }
    bool scaled = false;
    GridScale scale = {4.0f, 4.0f};
    for (int k = 0; k < usable; ++k) {
        if (!IsDrawable(db, matchList[k])) continue;
        const QuadRecord &quad = db.Quads[matchList[k]];
        const QuadForm &form = db.Forms[quad.Quadtype];
        const CellSize size = CellSizeOf(quad, form);
        if (!scaled) {
            scale = ScaleFor(size);
            scaled = true;
        }
        const float oy = (top - (quad.DownLeftLat + quad.SizeLat)) * kNinth;
        const float ox = (west - quad.DownLeftLon) * kNinth;
        LayOutQuad(form, size, ox, oy, scale, sink, context);
    }
}

// The first entry's name, up to its terminator or two characters.
int16_t GridLetters(const GridDatabase &db, const int16_t *matchList, int16_t count, char letters[3]) {
    letters[0] = '\0';
    if (UsableCount(count) == 0) return 0;
    const int16_t index = matchList[0];
    if (index < 0 || index >= db.QuadCount || index >= kMaxQuadRecords) return 0;
    const char *name = db.Quads[index].QuadName;
    int16_t length = 0;
    while (length < 2 && name[length] != '\0') {
        letters[length] = name[length];
        ++length;
    }
    letters[length] = '\0';
    return length;
}
