// The line formats of orvanta-convert.
#include "tools/orvanta-convert/ResultFormat.h"

#include <algorithm>
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

// Degrees rounded as printf rounds; a value that rounds to zero prints
// without a minus sign.
void FormatDegrees(double degrees, int decimals, char text[kPositionTextSize])
{
    FormatFixedHalfEven(degrees, decimals, text, kPositionTextSize);
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1))
        std::memmove(text, text + 1, std::strlen(text));
}

// Degrees = minutes / 60, with the sign turned for west-positive input.
void FormatDecimalDegrees(double minutes, bool positiveWest, char text[kPositionTextSize],
                          int decimals = kDecimalPlaces)
{
    FormatDegrees((positiveWest ? -minutes : minutes) / 60.0, decimals, text);
}

// A line put together on the stack and added to a string in pieces of up
// to a buffer, so that its many short parts cost no string operation each.
class LineText {
public:
    explicit LineText(std::string &out) : Out(out) {}
    ~LineText() { Out.append(Buffer, Length); }

    void Put(char c)
    {
        MakeRoom(1);
        Buffer[Length++] = c;
    }

    void Put(const char *text)
    {
        for (; *text; ++text)
            Put(*text);
    }

    void Put(const std::string &utf8)
    {
        Out.append(Buffer, Length);
        Length = 0;
        Out += utf8;
    }

    // Windows-1252 bytes as UTF-8 (three bytes at most for each).
    void PutCp1252(const std::string &text)
    {
        const size_t kPiece = sizeof Buffer / 3;
        for (size_t start = 0; start < text.size(); start += kPiece) {
            size_t count = std::min(kPiece, text.size() - start);
            MakeRoom(3 * count);
            Length = static_cast<size_t>(PutCp1252AsUtf8(Buffer + Length, text.data() + start, count) - Buffer);
        }
    }

private:
    void MakeRoom(size_t count)
    {
        if (Length + count > sizeof Buffer) {
            Out.append(Buffer, Length);
            Length = 0;
        }
    }

    std::string &Out;
    char Buffer[256];
    size_t Length = 0;
};

// The code of a result line (see ResultCodeText).
void PutCodeText(LineText &line, const ConversionResult &result)
{
    if (result.Status == ConvertStatus::Unreadable)
        line.Put(ValidUtf8(result.Code));
    else
        line.PutCp1252(result.Code);
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

std::string DegreesText(double degrees, int decimals)
{
    char text[kPositionTextSize];
    FormatDegrees(degrees, decimals, text);
    return text;
}

std::string DecimalDegreesText(double minutes, bool positiveWest, int decimals)
{
    char text[kPositionTextSize];
    FormatDecimalDegrees(minutes, positiveWest, text, decimals);
    return text;
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

// A line that starts with a code's first character is settled at once.
bool PassesThrough(const std::string &line)
{
    if (!line.empty() && line[0] != ' ' && line[0] != '\t' && line[0] != '\r')
        return line[0] == '#';
    return line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#';
}

// The code a line names in UTF-8: the code read (its Ä is Windows-1252),
// or the text as given when it names none (as valid UTF-8).
std::string ResultCodeText(const ConversionResult &result)
{
    std::string text;
    {
        LineText line(text); // adds its last piece when it ends
        PutCodeText(line, result);
    }
    return text;
}

std::string FormatResultLine(const ConversionResult &result, OutputFormat format, int decimals)
{
    std::string line;
    AppendResultLine(line, result, format, decimals);
    return line;
}

// Writes the code, then the position in the chosen format or the message;
// the program's texts and decimal degrees are put straight into the line,
// other decimals and dms through their texts.
void AppendResultLine(std::string &out, const ConversionResult &result, OutputFormat format, int decimals)
{
    LineText line(out);
    PutCodeText(line, result);
    line.Put('\t');
    if (result.Status != ConvertStatus::Converted) {
        line.Put("ERROR: ");
        line.Put(ConvertMessage(result));
    } else if (format == OutputFormat::Dms) {
        line.Put(LatitudeText(result, format, decimals));
        line.Put('\t');
        line.Put(LongitudeText(result, format, decimals));
    } else if (format == OutputFormat::Decimal) {
        char text[kPositionTextSize];
        FormatDecimalDegrees(result.Position.Latitude, false, text, DecimalsOf(format, decimals));
        line.Put(text);
        line.Put('\t');
        FormatDecimalDegrees(result.Position.Longitude, true, text, DecimalsOf(format, decimals));
        line.Put(text);
    } else {
        line.PutCp1252(result.LatitudeText);
        line.Put('\t');
        line.PutCp1252(result.LongitudeText);
    }
}
