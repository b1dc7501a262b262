// The search for a cell number in the layout of one quad type.
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
// wins.  A place marked "no cell" is never found, not even by the number -1.
int16_t FindFormCell(int16_t quadType, int16_t number, int16_t &column, int16_t &rowFromBottom,
                     const GridDatabase &db)
{
    if (quadType < 0 || quadType >= kMaxQuadTypes || number == kNoCell)
        return -1;
    const QuadForm &form = db.Forms[quadType];
    if (!IsSearchableForm(form))
        return -1;
    for (int r = 0; r < form.FormY; ++r)
        for (int c = 0; c < form.FormX; ++c)
            if (form.Numbers[r * form.FormX + c] == number) {
                column = static_cast<int16_t>(c);
                rowFromBottom = static_cast<int16_t>(form.FormY - 1 - r);
                return 0;
            }
    return -1;
}
