// The conversion of one grid code: its letters, the quad records of that
// name in table order, the first of them that holds the code, the centre of
// its small square and the texts of that position.  The main window's
// Convert command, orvanta-convert and the fuzz targets all convert here,
// and the outcome's messages are kept here once.  The tools convert codes
// as people write them, large squares and cells included.
#ifndef ORVANTA_CONVERT_CONVERTCODE_H
#define ORVANTA_CONVERT_CONVERTCODE_H

#include <cstdint>
#include <string>

#include "convert/Position.h"
#include "data/GridDatabase.h"

// The main window's code field holds at most this many characters; a
// longer code is cut to them before it is converted.
enum : int { kCodeFieldLength = 99 };

enum class ConvertStatus {
    Converted,
    GridNotFound,     // no quad record has the code's letters
    WrongLength,      // the code is not 6 characters long
    PositionNotFound, // a digit pair is in none of the matched quads
    Unreadable,       // the text names no code (the tools' reading)
};

// Everything a caller learns about one code.  Callers read the fields they
// need, so a field added for a new kind of code leaves them as they are.
struct ConversionResult {
    std::string Code;          // the code as given, or as the tools read it
    ConvertStatus Status;
    int16_t QuadIndex;         // the chosen quad record, -1 on failure
    int16_t Chart;             // the chosen record's chart (see ConvertWrittenCode), 0 on failure
    GridPosition Position;     // minutes: latitude north, longitude west
    std::string LatitudeText;  // the program's texts, Windows-1252
    std::string LongitudeText;
    GridBounds Bounds;         // the square, cell or large square the code names
    std::string Fault;         // Unreadable: what is wrong with the text; the
                               // tools' PositionNotFound: what the digits tell,
                               // or empty; UTF-8
};

// Converts a code against a database (the window's Grid unless another is
// given) as the Convert button does: the first matched quad record that
// holds the code is chosen.  MatchList and MatchCount are left holding the
// records of the code's letters.
ConversionResult ConvertCode(const std::string &code, const GridDatabase &db = Grid);

// Converts a text as the tools read codes: a written code is read first
// (see convert/WrittenCode.h); a small square converts as the Convert
// button does.  A large square or a cell means all of it: Bounds is the
// area around that part of every record of the name that has it, Position
// that area's centre, the chosen record the first of them, and Chart 1
// only when every part lies on chart 1 (else the first other part's).
// Code holds the code read, or the text itself when it names none; a code
// that names no square says in Fault when its digits tell why.
ConversionResult ConvertWrittenCode(const std::string &text, const GridDatabase &db = Grid);

// The main window's message field after a conversion, with the blanks it
// shows around the words: a failure's message, " Ok." for a code on
// chart 1, and 32 blanks for a code on another chart.
const char *ShownMessage(const ConversionResult &result);

// The message for a failed code without its surrounding blanks, as the
// tools print it (for an unreadable text, what is wrong with it; after a
// position that is not found, what the digits tell); empty for a
// converted one.
std::string ConvertMessage(const ConversionResult &result);

#endif
