// The line formats of orvanta-convert.
#include "tools/orvanta-convert/ResultFormat.h"

#include <algorithm>
#include <cstring>

#include "convert/DecimalFormat.h"
#include "tools/common/TextEncoding.h"

namespace {

const int kDecimalPlaces = 6;

// Degrees = minutes / 60, with the sign turned for west-positive input,
// rounded as printf rounds; a value that rounds to zero prints without a
// minus sign.
void FormatDecimalDegrees(double minutes, bool positiveWest, char text[kPositionTextSize])
{
    double degrees = (positiveWest ? -minutes : minutes) / 60.0;
    FormatFixedHalfEven(degrees, kDecimalPlaces, text, kPositionTextSize);
    if (text[0] == '-' && std::strspn(text + 1, "0.") == std::strlen(text + 1))
        std::memmove(text, text + 1, std::strlen(text));
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

std::string DecimalDegreesText(double minutes, bool positiveWest)
{
    char text[kPositionTextSize];
    FormatDecimalDegrees(minutes, positiveWest, text);
    return text;
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

std::string FormatResultLine(const ConversionResult &result, OutputFormat format)
{
    std::string line;
    AppendResultLine(line, result, format);
    return line;
}

// Writes the code, then the position in the chosen format or the message.
void AppendResultLine(std::string &out, const ConversionResult &result, OutputFormat format)
{
    LineText line(out);
    PutCodeText(line, result);
    line.Put('\t');
    if (result.Status != ConvertStatus::Converted) {
        line.Put("ERROR: ");
        line.Put(ConvertMessage(result));
    } else if (format == OutputFormat::Decimal) {
        char text[kPositionTextSize];
        FormatDecimalDegrees(result.Position.Latitude, false, text);
        line.Put(text);
        line.Put('\t');
        FormatDecimalDegrees(result.Position.Longitude, true, text);
        line.Put(text);
    } else {
        line.PutCp1252(result.LatitudeText);
        line.Put('\t');
        line.PutCp1252(result.LongitudeText);
    }
}
