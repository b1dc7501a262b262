// Grid code lookup: from the letters of a code to the quad records of that
// name, and from the two digit pairs to the offset of the coded small
// square inside one quad.
#ifndef ORVANTA_CONVERT_GRIDLOOKUP_H
#define ORVANTA_CONVERT_GRIDLOOKUP_H

#include <cstdint>

#include "data/GridDatabase.h"

enum : int { kMaxMatches = 20, kStandardSize = 9 };

// Results of LocateSubsquare.
enum : int16_t {
    kLocateFound = 0,
    kLocateWrongLength = 1,
    kLocateNotFound = -1,
};

// Indices of the quad records whose name equals the last code's letters,
// in table order, and their number.
extern int16_t MatchList[kMaxMatches];
extern int16_t MatchCount;

// Where the coded small square's lower-left corner lies inside its quad, as
// fractions of the quad's extent (SizeLon, SizeLat), each in [0, 1).
struct SubsquareOffsetValue {
    float fracX;
    float fracY;
};
extern SubsquareOffsetValue SubsquareOffset;

// The fixed 9 x 9 numbering of the small squares, top row first.
extern const int8_t StandardNumbering[kStandardSize][kStandardSize];

// Fills MatchList with the records named exactly by letters (a terminated
// text of at most two characters) and returns how many there are; never
// more than kMaxMatches.
int16_t FindQuadsByName(const char *letters, const GridDatabase &db = Grid);

// Locates a whole code in one quad record: kLocateFound (SubsquareOffset
// set), kLocateWrongLength or kLocateNotFound.
int16_t LocateSubsquare(const char *code, int16_t quadIndex, const GridDatabase &db = Grid);

// Finds number in the cell layout of a quad type: 0 with the column (0 =
// leftmost) and the row counted from the bottom, or -1.
int16_t FindFormCell(int16_t quadType, int16_t number, int16_t &column, int16_t &rowFromBottom,
                     const GridDatabase &db = Grid);

// The same search in StandardNumbering.
int16_t FindStandardCell(int16_t number, int16_t &column, int16_t &rowFromBottom);

#endif
