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

// The code a result line names, in UTF-8.
std::string ResultCodeText(const ConversionResult &result);

// CODE<TAB>LATITUDE<TAB>LONGITUDE, or CODE<TAB>ERROR: <message>; no line end.
std::string FormatResultLine(const ConversionResult &result, OutputFormat format);

// Minutes (longitude positive west) as decimal degrees with six decimals,
// north and east positive, the same text in every build.
std::string DecimalDegreesText(double minutes, bool positiveWest);

#endif
