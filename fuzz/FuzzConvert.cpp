// The main dialog's Convert flow on one code, with the checks that hold
// for any code over any database that loaded with status 0: the lookup,
// the position and its texts, and what the two views would draw from them.
#include <cmath>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "convert/ConvertCode.h"
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "display/ChartGeometry.h"
#include "display/GridLayout.h"
#include "display/Truncate.h"

namespace {

bool IsDigit1To9(char c)
{
    return c >= '1' && c <= '9';
}

// Whether value lies between the quad's corner and its opposite corner,
// or a whole turn (21600 minutes) from there, as a longitude brought back
// from past the 180th meridian does.
bool WithinExtent(double value, float corner, float size, double turn = 0)
{
    double low = std::fmin(corner, static_cast<double>(corner) + size);
    double high = std::fmax(corner, static_cast<double>(corner) + size);
    double slack = 1e-6 * (std::fabs(low) + std::fabs(high) + 1.0);
    for (double shift : {0.0, -turn, turn})
        if (value + shift >= low - slack && value + shift <= high + slack)
            return true;
    return false;
}

// A position text: degrees, the degree sign, minutes with two decimals, a
// blank and the hemisphere letter, short enough for the program's buffer.
void CheckPositionText(const std::string &text, const char *letters)
{
    size_t length = text.size();
    FUZZ_CHECK(length < kPositionTextSize && text.find('\0') == std::string::npos);
    FUZZ_CHECK(length >= 8);
    FUZZ_CHECK(text.find('\xB0') != std::string::npos);
    FUZZ_CHECK(text[length - 2] == ' ');
    FUZZ_CHECK(std::strchr(letters, text[length - 1]) != nullptr);
}

// One cell of the grid view: a number of at most two characters.
void CheckGridCell(const GridCell &cell, void *)
{
    FUZZ_CHECK(cell.textLength >= 0 && cell.textLength <= 2);
    FUZZ_CHECK(cell.text[cell.textLength] == '\0');
}

// The grid view's drawing of the matched quads.
void CheckGridView()
{
    LayOutGridCells(Grid, MatchList, MatchCount, CheckGridCell, nullptr);
    char letters[3];
    int16_t length = GridLetters(Grid, MatchList, MatchCount, letters);
    FUZZ_CHECK(length >= 0 && length <= 2 && letters[length] == '\0');
}

// The chart view's window for a position in whole minutes: inside the chart.
void CheckChartView(const GridPosition &position)
{
    ChartCorner corner = ChartCornerFor(TruncateToInt16(position.Latitude), TruncateToInt16(position.Longitude));
    ChartPlacement placement = PlaceChartWindow(corner.x, corner.y);
    FUZZ_CHECK(placement.sourceX >= 0 && placement.sourceX <= kLargestSourceColumn);
    FUZZ_CHECK(placement.sourceY >= 0 && placement.sourceY <= kLargestSourceRow);
    ChartLine arms[2];
    CrossHairArms(placement, arms);
}

// Checks a converted code: the offset, the position and its two texts.
void CheckConverted(const ConversionResult &result)
{
    const char *code = result.Code.c_str();
    const QuadRecord &quad = Grid.Quads[result.QuadIndex];
    FUZZ_CHECK(result.Chart == quad.Chart);
    FUZZ_CHECK(IsDigit1To9(code[4]) && IsDigit1To9(code[5]));
    FUZZ_CHECK(SubsquareOffset.fracX >= 0.0f && SubsquareOffset.fracX < 1.0f);
    FUZZ_CHECK(SubsquareOffset.fracY >= 0.0f && SubsquareOffset.fracY < 1.0f);

    const GridPosition &position = result.Position;
    bool moderate = std::fabs(quad.DownLeftLat) < 1e6f && std::fabs(quad.SizeLat) < 1e6f &&
                    std::fabs(quad.DownLeftLon) < 1e6f && std::fabs(quad.SizeLon) < 1e6f;
    if (moderate) {
        FUZZ_CHECK(WithinExtent(position.Latitude, quad.DownLeftLat, quad.SizeLat));
        FUZZ_CHECK(WithinExtent(position.Longitude, quad.DownLeftLon, quad.SizeLon, 21600.0));
    }

    CheckPositionText(result.LatitudeText, "NS");
    CheckPositionText(result.LongitudeText, "WE");
    CheckChartView(position);
    if (moderate && std::fabs(position.Latitude) <= 10800.0 && std::fabs(position.Longitude) <= 10800.0) {
        FUZZ_CHECK(result.LatitudeText.size() <= 11);
        FUZZ_CHECK(result.LongitudeText.size() <= 11);
    }
}

// Checks the matches the conversion left: every record of the letters, in
// table order; those before the chosen one do not hold the code, and
// trying them again leaves the chosen square's offset alone.
void CheckMatches(const ConversionResult &result, const char *letters)
{
    FUZZ_CHECK(MatchCount >= 0 && MatchCount <= kMaxMatches);
    int named = 0;
    for (int j = 0; j < Grid.QuadCount; ++j)
        named += std::strcmp(Grid.Quads[j].QuadName, letters) == 0;
    FUZZ_CHECK(MatchCount == named);
    FUZZ_CHECK((MatchCount == 0) == (result.Status == ConvertStatus::GridNotFound));
    CheckGridView();

    SubsquareOffsetValue chosen = SubsquareOffset;
    for (int i = 0; i < MatchCount && MatchList[i] != result.QuadIndex; ++i) {
        int16_t quadIndex = MatchList[i];
        FUZZ_CHECK(quadIndex >= 0 && quadIndex < Grid.QuadCount);
        FUZZ_CHECK(i == 0 || quadIndex > MatchList[i - 1]);
        FUZZ_CHECK(std::strcmp(Grid.Quads[quadIndex].QuadName, letters) == 0);
        int16_t located = LocateSubsquare(result.Code.c_str(), quadIndex);
        FUZZ_CHECK(located == (result.Code.size() == 6 ? kLocateNotFound : kLocateWrongLength));
        FUZZ_CHECK(std::memcmp(&chosen, &SubsquareOffset, sizeof chosen) == 0);
    }
}

} // namespace

// The Convert flow on one code; every result within its range.
void ConvertAndCheck(const char *code)
{
    ConversionResult result = ConvertCode(code);
    char letters[3] = {};
    std::strncpy(letters, code, 2);
    bool sixLong = std::strlen(code) == 6;
    FUZZ_CHECK(result.Status != ConvertStatus::WrongLength || !sixLong);
    FUZZ_CHECK(result.Status == ConvertStatus::GridNotFound || result.Status == ConvertStatus::WrongLength || sixLong);
    FUZZ_CHECK((result.Status == ConvertStatus::Converted) == (result.QuadIndex >= 0));
    if (result.Status == ConvertStatus::Converted)
        CheckConverted(result);
    CheckMatches(result, letters);
}
