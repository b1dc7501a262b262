// The conversion of one code, as the main window's Convert command runs it.
#include "tools/orvanta-convert/ConvertCode.h"

#include "convert/GridLookup.h"

namespace {

// The main window reads at most this many characters of a code.
const size_t kCodeFieldLength = 99;

} // namespace

// Letters first, then each matched record in table order; the last lookup
// result decides the message when none holds the code.
ConversionResult ConvertCode(const std::string &code)
{
    ConversionResult result = {code, ConvertStatus::GridNotFound, -1, {0.0, 0.0}, "", ""};
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
    result.Position = ComputePosition(result.QuadIndex);
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

const char *ConvertMessage(ConvertStatus status)
{
    switch (status) {
    case ConvertStatus::GridNotFound:
        return "Grid not in database.";
    case ConvertStatus::WrongLength:
        return "Use 6 chars, example CD1234";
    case ConvertStatus::PositionNotFound:
        return "Position not in database";
    case ConvertStatus::Converted:
        break;
    }
    return "";
}
