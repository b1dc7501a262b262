// From the two digit pairs of a code to the offset of its small square.
#include <cstddef>

#include "convert/GridLookup.h"
#include "data/DecimalText.h"
#include "data/GridDatabase.h"

SubsquareOffsetValue SubsquareOffset;

namespace {

const size_t kCodeLength = 6;

// Reads a two-character pair of the code as atoi would, kept to 16 bits;
// two digits, the usual pair, are read at once.
int16_t PairValue(const char *code, size_t start)
{
    char high = code[start], low = code[start + 1];
    if (high >= '0' && high <= '9' && low >= '0' && low <= '9')
        return static_cast<int16_t>((high - '0') * 10 + (low - '0'));
    char pair[3] = {code[start], code[start + 1], '\0'};
    return static_cast<int16_t>(ParseIntegerText(pair));
}

// Whether the terminated text is kCodeLength characters long, read no
// further than its terminator or the character after the code.
bool HasCodeLength(const char *code)
{
    for (size_t i = 0; i < kCodeLength; ++i)
        if (code[i] == '\0')
            return false;
    return code[kCodeLength] == '\0';
}

} // namespace

// Locates the first pair in the quad's layout and the second in the
// standard numbering, then stores the small square's lower-left corner as
// fractions of the quad: each quotient in double, the sum rounded to float.
int16_t LocateSubsquare(const char *code, int16_t quadIndex, const GridDatabase &db)
{
    if (code == nullptr || !HasCodeLength(code))
        return kLocateWrongLength;
    if (quadIndex < 0 || quadIndex >= db.QuadCount || quadIndex >= kMaxQuadRecords)
        return kLocateNotFound;
    int16_t quadType = db.Quads[quadIndex].Quadtype;
    int16_t c1, r1, c2, r2;
    if (FindFormCell(quadType, PairValue(code, 2), c1, r1, db) != 0)
        return kLocateNotFound;
    if (FindStandardCell(PairValue(code, 4), c2, r2) != 0)
        return kLocateNotFound;
    const QuadForm &form = db.Forms[quadType];
    double formX = form.FormX, formY = form.FormY;
    SubsquareOffset.fracX = static_cast<float>(c1 / formX + c2 / (9.0 * formX));
    SubsquareOffset.fracY = static_cast<float>(r1 / formY + r2 / (9.0 * formY));
    return kLocateFound;
}
