// Output formats of orvanta-convert: one line of text per converted code.
#ifndef ORVANTA_TOOLS_RESULTFORMAT_H
#define ORVANTA_TOOLS_RESULTFORMAT_H

#include <string>

#include "convert/ConvertCode.h"

enum class OutputFormat {
    DegreesMinutes, // the program's own texts, 55°12.50 N, in UTF-8
    Decimal,        // signed decimal degrees, north and east positive
};

// Reads a format's name ("dm", "decimal"); false for an unknown name.
bool ParseOutputFormat(const std::string &name, OutputFormat &format);

// The code a result line names, in UTF-8: a converted code's Windows-1252
// letters as UTF-8, a text that names no code with its invalid bytes as
// U+FFFD.
std::string ResultCodeText(const ConversionResult &result);

// CODE<TAB>LATITUDE<TAB>LONGITUDE, or CODE<TAB>ERROR: <message>; no line
// end.  Bytes of the code that are not valid UTF-8 are written as U+FFFD.
std::string FormatResultLine(const ConversionResult &result, OutputFormat format);

// The same line added to the end of out, without a copy of its parts.
void AppendResultLine(std::string &out, const ConversionResult &result, OutputFormat format);

// Minutes (longitude positive west) as decimal degrees with six decimals,
// north and east positive, a half rounded to even as printf does, the same
// text in every build.
std::string DecimalDegreesText(double minutes, bool positiveWest);

#endif
