// One grid code through the program's conversion: lookup, position and
// texts, with the outcome as the main window would report it.
#ifndef ORVANTA_TOOLS_CONVERTCODE_H
#define ORVANTA_TOOLS_CONVERTCODE_H

#include <cstdint>
#include <string>

#include "convert/Position.h"

enum class ConvertStatus {
    Converted,
    GridNotFound,     // no quad record has the code's letters
    WrongLength,      // the code is not 6 characters long
    PositionNotFound, // a digit pair is in none of the matched quads
};

struct ConversionResult {
    std::string Code;          // the code as converted
    ConvertStatus Status;
    int16_t QuadIndex;         // the chosen quad record, -1 on failure
    GridPosition Position;     // minutes: latitude north, longitude west
    std::string LatitudeText;  // the program's texts, Windows-1252
    std::string LongitudeText;
};

// Converts a code against the loaded Grid as the Convert button does: the
// first matched quad record that holds the code is chosen.
ConversionResult ConvertCode(const std::string &code);

// A code as the program's code field would hold it: letters a-z upper
// case, and without the CR of a CR LF line end.
std::string NormalizeCode(std::string line);

// The program's message for a failed code, without its surrounding
// blanks; empty for a converted one.
const char *ConvertMessage(ConvertStatus status);

#endif
