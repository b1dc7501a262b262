// The line formats of orvanta-convert.
#include "tools/orvanta-convert/ResultFormat.h"

#include <cstring>

#include "convert/DecimalFormat.h"
#include "tools/common/TextEncoding.h"

namespace {

const int kDecimalPlaces = 6;

} // namespace

bool ParseOutputFormat(const std::string &name, OutputFormat &format)
{
    if (name == "dm")
        format = OutputFormat::DegreesMinutes;
    else if (name == "decimal")
        format = OutputFormat::Decimal;
    else
        return false;
    return true;
}

// Degrees = minutes / 60, with the sign turned for west-positive input,
// rounded as printf rounds; a value that rounds to zero prints without a
// minus sign.
std::string DecimalDegreesText(double minutes, bool positiveWest)
{
    double degrees = (positiveWest ? -minutes : minutes) / 60.0;
    char text[kPositionTextSize];
    FormatFixedHalfEven(degrees, kDecimalPlaces, text, sizeof text);
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1))
        std::memmove(text, text + 1, std::strlen(text));
    return text;
}

// The code a line names in UTF-8: the code read (its Ä is Windows-1252),
// or the text as given when it names none (as valid UTF-8).
std::string ResultCodeText(const ConversionResult &result)
{
    return result.Status == ConvertStatus::Unreadable ? ValidUtf8(result.Code) : Cp1252ToUtf8(result.Code);
}

// Writes the code, then the position in the chosen format or the message.
std::string FormatResultLine(const ConversionResult &result, OutputFormat format)
{
    std::string line = ResultCodeText(result) + "\t";
    if (result.Status != ConvertStatus::Converted)
        return line + "ERROR: " + ConvertMessage(result);
    if (format == OutputFormat::Decimal)
        return line + DecimalDegreesText(result.Position.Latitude, false) + "\t" +
               DecimalDegreesText(result.Position.Longitude, true);
    return line + Cp1252ToUtf8(result.LatitudeText) + "\t" + Cp1252ToUtf8(result.LongitudeText);
}
