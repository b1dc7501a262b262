// Output formats of orvanta-convert: one line of text per converted code.
#ifndef ORVANTA_TOOLS_RESULTFORMAT_H
#define ORVANTA_TOOLS_RESULTFORMAT_H

#include <string>

#include "convert/ConvertCode.h"

enum class OutputFormat {
    DegreesMinutes, // the program's own texts, 55°12.50 N, in UTF-8
    Decimal,        // signed decimal degrees, north and east positive
    Dms,            // degrees, minutes and seconds with the hemisphere, 55°07'30"N
};

// The decimals a format gives when --precision does not say: of the degrees
// in Decimal, of the seconds in Dms.
int DefaultDecimals(OutputFormat format);

// The most decimals --precision takes.
const int kMaxDecimals = 12;

// Reads a format's name ("dm", "decimal", "dms"); false for an unknown name.
bool ParseOutputFormat(const std::string &name, OutputFormat &format);

// The code a result line names, in UTF-8: a converted code's Windows-1252
// letters as UTF-8, a text that names no code with its invalid bytes as
// U+FFFD.
std::string ResultCodeText(const ConversionResult &result);

// CODE<TAB>LATITUDE<TAB>LONGITUDE, or CODE<TAB>ERROR: <message>; no line
// end.  Bytes of the code that are not valid UTF-8 are written as U+FFFD.
// decimals below 0 take the format's default.
std::string FormatResultLine(const ConversionResult &result, OutputFormat format, int decimals = -1);

// The same line added to the end of out, without a copy of its parts.
void AppendResultLine(std::string &out, const ConversionResult &result, OutputFormat format, int decimals = -1);

// The latitude and longitude texts of a converted result in the format.
std::string LatitudeText(const ConversionResult &result, OutputFormat format, int decimals = -1);
std::string LongitudeText(const ConversionResult &result, OutputFormat format, int decimals = -1);

// Whether a line of a list is no entry but passes through as it is: blank,
// or a comment starting with '#'.
bool PassesThrough(const std::string &line);

// Degrees as a text with six decimals unless told, a half rounded to even
// as printf does, the same text in every build; no "-0.000000".
std::string DegreesText(double degrees, int decimals = 6);

// Minutes (longitude positive west) as decimal degrees, six decimals unless
// told, north and east positive, a half rounded to even as printf does, the
// same text in every build.
std::string DecimalDegreesText(double minutes, bool positiveWest, int decimals = 6);

// Minutes (latitude north, longitude west positive) as degrees, minutes and
// seconds with the seconds' decimals, 55°07'30"N; a rounding carries into
// the minutes and degrees, so that no part reads 60.
std::string DmsText(double minutes, bool isLatitude, int decimals);

#endif
