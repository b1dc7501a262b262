// The fixed 9 x 9 numbering of the small squares inside one cell.
#include "convert/GridLookup.h"

// The number 10a + b stands in the 3 x 3 block a (1 2 3 across the top,
// 7 8 9 across the bottom), at place b inside that block.
const int8_t StandardNumbering[kStandardSize][kStandardSize] = {
    {11, 12, 13, 21, 22, 23, 31, 32, 33},
    {14, 15, 16, 24, 25, 26, 34, 35, 36},
    {17, 18, 19, 27, 28, 29, 37, 38, 39},
    {41, 42, 43, 51, 52, 53, 61, 62, 63},
    {44, 45, 46, 54, 55, 56, 64, 65, 66},
    {47, 48, 49, 57, 58, 59, 67, 68, 69},
    {71, 72, 73, 81, 82, 83, 91, 92, 93},
    {74, 75, 76, 84, 85, 86, 94, 95, 96},
    {77, 78, 79, 87, 88, 89, 97, 98, 99},
};

// Finds the place from the number's two digits by the rule above; the
// table holds every number 11..99 without a zero digit once.
int16_t FindStandardCell(int16_t number, int16_t &column, int16_t &rowFromBottom)
{
    int block = number / 10 - 1, place = number % 10 - 1;
    if (number < 11 || number > 99 || place < 0)
        return -1;
    int r = block / 3 * 3 + place / 3, c = block % 3 * 3 + place % 3;
    column = static_cast<int16_t>(c);
    rowFromBottom = static_cast<int16_t>(kStandardSize - 1 - r);
    return 0;
}
