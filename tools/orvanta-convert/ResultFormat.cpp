// The line formats of orvanta-convert.
#include "tools/orvanta-convert/ResultFormat.h"

#include <cmath>
#include <cstring>

#include "convert/DecimalFormat.h"
#include "tools/common/TextEncoding.h"

namespace {

const int kDecimalPlaces = 6;

// A format's decimals: the given ones, or its default.
int DecimalsOf(OutputFormat format, int decimals)
{
    return decimals >= 0 ? decimals : DefaultDecimals(format);
}

} // namespace

int DefaultDecimals(OutputFormat format)
{
    return format == OutputFormat::Decimal ? kDecimalPlaces : 0;
}

bool ParseOutputFormat(const std::string &name, OutputFormat &format)
{
    if (name == "dm")
        format = OutputFormat::DegreesMinutes;
    else if (name == "decimal")
        format = OutputFormat::Decimal;
    else if (name == "dms")
        format = OutputFormat::Dms;
    else
        return false;
    return true;
}

// Rounded as printf rounds; a value that rounds to zero prints without a
// minus sign.
std::string DegreesText(double degrees, int decimals)
{
    char text[kPositionTextSize];
    FormatFixedHalfEven(degrees, decimals, text, sizeof text);
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1))
        std::memmove(text, text + 1, std::strlen(text));
    return text;
}

// Degrees = minutes / 60, with the sign turned for west-positive input.
std::string DecimalDegreesText(double minutes, bool positiveWest, int decimals)
{
    return DegreesText((positiveWest ? -minutes : minutes) / 60.0, decimals);
}

// The whole seconds and their decimals come from one rounded text of the
// seconds, so the carry is the formatter's.
std::string DmsText(double minutes, bool isLatitude, int decimals)
{
    if (!std::isfinite(minutes))
        return DecimalDegreesText(minutes, false, decimals);
    double seconds = std::fabs(minutes) * 60;
    char text[kPositionTextSize];
    FormatFixedHalfEven(seconds, decimals, text, sizeof text);
    const char *point = std::strchr(text, '.');
    double whole = std::floor(std::strtod(text, nullptr));
    bool zero = std::strspn(text, "0.") == std::strlen(text);
    bool positive = zero || (isLatitude ? minutes > 0 : minutes < 0);
    char hemisphere = isLatitude ? (positive ? 'N' : 'S') : (positive ? 'E' : 'W');
    char out[kPositionTextSize];
    std::snprintf(out, sizeof out, "%.0f\xC2\xB0%02d'%02d%s\"%c", std::floor(whole / 3600),
                  static_cast<int>(std::fmod(std::floor(whole / 60), 60)), static_cast<int>(std::fmod(whole, 60)),
                  point ? point : "", hemisphere);
    return out;
}

namespace {

// One axis of a converted result in the format.
std::string AxisText(const ConversionResult &result, bool isLatitude, OutputFormat format, int decimals)
{
    double minutes = isLatitude ? result.Position.Latitude : result.Position.Longitude;
    switch (format) {
    case OutputFormat::Decimal: return DecimalDegreesText(minutes, !isLatitude, DecimalsOf(format, decimals));
    case OutputFormat::Dms: return DmsText(minutes, isLatitude, DecimalsOf(format, decimals));
    case OutputFormat::DegreesMinutes: break;
    }
    return Cp1252ToUtf8(isLatitude ? result.LatitudeText : result.LongitudeText);
}

} // namespace

std::string LatitudeText(const ConversionResult &result, OutputFormat format, int decimals)
{
    return AxisText(result, true, format, decimals);
}

std::string LongitudeText(const ConversionResult &result, OutputFormat format, int decimals)
{
    return AxisText(result, false, format, decimals);
}

// The code a line names in UTF-8: the code read (its Ä is Windows-1252),
// or the text as given when it names none (as valid UTF-8).
std::string ResultCodeText(const ConversionResult &result)
{
    return result.Status == ConvertStatus::Unreadable ? ValidUtf8(result.Code) : Cp1252ToUtf8(result.Code);
}

// Writes the code, then the position in the chosen format or the message.
std::string FormatResultLine(const ConversionResult &result, OutputFormat format, int decimals)
{
    std::string line = ResultCodeText(result) + "\t";
    if (result.Status != ConvertStatus::Converted)
        return line + "ERROR: " + ConvertMessage(result);
    return line + LatitudeText(result, format, decimals) + "\t" + LongitudeText(result, format, decimals);
}

bool PassesThrough(const std::string &line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#';
}
