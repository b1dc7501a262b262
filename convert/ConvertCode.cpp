// The conversion of one code, as the main window's Convert command runs it.
#include "convert/ConvertCode.h"

#include "convert/GridLookup.h"
#include "data/GridDatabase.h"

namespace {

const char kGridNotFound[] = " Grid not in database.";
const char kWrongLength[] = " Use 6 chars, example CD1234 ";
const char kPositionNotFound[] = " Position not in database  ";
const char kOnOtherChart[] = "                                "; // 32 blanks
const char kOk[] = " Ok.";

// The failure's message as the window shows it; empty for Converted.
const char *FailureMessage(ConvertStatus status)
{
    switch (status) {
    case ConvertStatus::GridNotFound:
        return kGridNotFound;
    case ConvertStatus::WrongLength:
        return kWrongLength;
    case ConvertStatus::PositionNotFound:
        return kPositionNotFound;
    case ConvertStatus::Converted:
        break;
    }
    return "";
}

} // namespace

// Letters first, then each matched record in table order; the last lookup
// result decides the message when none holds the code.
ConversionResult ConvertCode(const std::string &code)
{
    ConversionResult result = {code, ConvertStatus::GridNotFound, -1, 0, {0.0, 0.0}, "", "", {0, 0, 0, 0}};
    std::string field = code.substr(0, kCodeFieldLength);
    char letters[3] = {0, 0, 0};
    for (size_t i = 0; i < 2 && i < field.size(); ++i)
        letters[i] = field[i];
    MatchCount = FindQuadsByName(letters);
    if (MatchCount == 0)
        return result;

    int16_t last = kLocateNotFound;
    for (int i = 0; i < MatchCount; ++i) {
        last = LocateSubsquare(field.c_str(), MatchList[i]);
        if (last == kLocateFound) {
            result.QuadIndex = MatchList[i];
            break;
        }
    }
    if (last != kLocateFound) {
        result.Status = last == kLocateWrongLength ? ConvertStatus::WrongLength : ConvertStatus::PositionNotFound;
        return result;
    }

    result.Status = ConvertStatus::Converted;
    result.Chart = Grid.Quads[result.QuadIndex].Chart;
    result.Position = ComputePosition(result.QuadIndex);
    GridPosition half = SmallSquareHalfSize(result.QuadIndex);
    result.Extent = {result.Position.Latitude - half.Latitude, result.Position.Longitude + half.Longitude,
                     result.Position.Latitude + half.Latitude, result.Position.Longitude - half.Longitude};
    char text[kPositionTextSize];
    FormatLatitude(result.Position.Latitude, text);
    result.LatitudeText = text;
    FormatLongitude(result.Position.Longitude, text);
    result.LongitudeText = text;
    return result;
}

// Drops one trailing CR and turns ASCII letters to upper case.
std::string NormalizeCode(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    for (char &c : line)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return line;
}

// Only chart 1 earns the "Ok."; a code on another chart clears the field.
const char *ShownMessage(const ConversionResult &result)
{
    if (result.Status != ConvertStatus::Converted)
        return FailureMessage(result.Status);
    return result.Chart == 1 ? kOk : kOnOtherChart;
}

// The shown message without its leading and trailing blanks.
std::string ConvertMessage(ConvertStatus status)
{
    std::string text = FailureMessage(status);
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
