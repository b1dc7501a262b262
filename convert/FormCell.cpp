// The search for a cell number in the layout of one quad type.
#include <cstdint>
#include <cstring>

#include "convert/GridLookup.h"
#include "data/GridDatabase.h"

namespace {

// The number that marks a place of the layout where the quad has no cell.
const int kNoCell = -1;

// Whether a layout can be searched without reading past its Numbers.
bool IsSearchableForm(const QuadForm &form)
{
    return form.FormX >= 1 && form.FormY >= 1 && form.FormX * form.FormY <= kMaxFormCells;
}

} // namespace

// Searches the layout top row first, left to right; the first equal cell
// wins.  A place marked "no cell" is never found, not even by the number -1,
// and no cell holds a number outside the cells' 8-bit range.
int16_t FindFormCell(int16_t quadType, int16_t number, int16_t &column, int16_t &rowFromBottom,
                     const GridDatabase &db)
{
    if (quadType < 0 || quadType >= kMaxQuadTypes || number == kNoCell || number < INT8_MIN || number > INT8_MAX)
        return -1;
    const QuadForm &form = db.Forms[quadType];
    if (!IsSearchableForm(form))
        return -1;
    const void *cell = std::memchr(form.Numbers, static_cast<uint8_t>(number), form.FormX * form.FormY);
    if (cell == nullptr)
        return -1;
    int place = static_cast<int>(static_cast<const int8_t *>(cell) - form.Numbers);
    column = static_cast<int16_t>(place % form.FormX);
    rowFromBottom = static_cast<int16_t>(form.FormY - 1 - place / form.FormX);
    return 0;
}
