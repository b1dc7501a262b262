// The conversion of one grid code: its letters, the quad records of that
// name in table order, the first of them that holds the code, the centre of
// its small square and the texts of that position.  The main window's
// Convert command, orvanta-convert and the fuzz targets all convert here,
// and the outcome's messages are kept here once.
#ifndef ORVANTA_CONVERT_CONVERTCODE_H
#define ORVANTA_CONVERT_CONVERTCODE_H

#include <cstdint>
#include <string>

#include "convert/Position.h"

// The main window's code field holds at most this many characters; a
// longer code is cut to them before it is converted.
enum : int { kCodeFieldLength = 99 };

enum class ConvertStatus {
    Converted,
    GridNotFound,     // no quad record has the code's letters
    WrongLength,      // the code is not 6 characters long
    PositionNotFound, // a digit pair is in none of the matched quads
};

// Everything a caller learns about one code.  Callers read the fields they
// need, so a field added for a new kind of code leaves them as they are.
// The bounds of the square a code names, in minutes: latitude north,
// longitude west positive as in GridPosition (so West >= East).
struct GridBox {
    double South, West, North, East;
};

struct ConversionResult {
    std::string Code;          // the code as given
    ConvertStatus Status;
    int16_t QuadIndex;         // the chosen quad record, -1 on failure
    int16_t Chart;             // the chosen record's chart, 0 on failure
    GridPosition Position;     // minutes: latitude north, longitude west
    std::string LatitudeText;  // the program's texts, Windows-1252
    std::string LongitudeText;
    GridBox Extent;            // the small square around Position; zeros on failure
};

// Converts a code against the loaded Grid as the Convert button does: the
// first matched quad record that holds the code is chosen.  MatchList and
// MatchCount are left holding the records of the code's letters.
ConversionResult ConvertCode(const std::string &code);

// A code as the program's code field would hold it: letters a-z upper
// case, and without the CR of a CR LF line end.
std::string NormalizeCode(std::string line);

// The main window's message field after a conversion, with the blanks it
// shows around the words: a failure's message, " Ok." for a code on
// chart 1, and 32 blanks for a code on another chart.
const char *ShownMessage(const ConversionResult &result);

// The message for a failed code without its surrounding blanks, as the
// tools print it; empty for a converted one.
std::string ConvertMessage(ConvertStatus status);

#endif
