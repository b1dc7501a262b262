// The main dialog's Convert flow on one code, with the checks that hold
// for any code over any database that loaded with status 0: the lookup,
// the position and its texts, and what the two views would draw from them.
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
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
// blank and the hemisphere letter, inside its buffer.
void CheckPositionText(const char *text, const char *letters)
{
    const char *end = static_cast<const char *>(std::memchr(text, '\0', kPositionTextSize));
    FUZZ_CHECK(end != nullptr);
    size_t length = static_cast<size_t>(end - text);
    FUZZ_CHECK(length >= 8);
    FUZZ_CHECK(std::strchr(text, '\xB0') != nullptr);
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

// Checks a located code: the offset, the position and its two texts.
void CheckLocated(const char *code, int16_t quadIndex)
{
    const QuadRecord &quad = Grid.Quads[quadIndex];
    FUZZ_CHECK(IsDigit1To9(code[4]) && IsDigit1To9(code[5]));
    FUZZ_CHECK(SubsquareOffset.fracX >= 0.0f && SubsquareOffset.fracX < 1.0f);
    FUZZ_CHECK(SubsquareOffset.fracY >= 0.0f && SubsquareOffset.fracY < 1.0f);

    GridPosition position = ComputePosition(quadIndex);
    bool moderate = std::fabs(quad.DownLeftLat) < 1e6f && std::fabs(quad.SizeLat) < 1e6f &&
                    std::fabs(quad.DownLeftLon) < 1e6f && std::fabs(quad.SizeLon) < 1e6f;
    if (moderate) {
        FUZZ_CHECK(WithinExtent(position.Latitude, quad.DownLeftLat, quad.SizeLat));
        FUZZ_CHECK(WithinExtent(position.Longitude, quad.DownLeftLon, quad.SizeLon, 21600.0));
    }

    char latitude[kPositionTextSize];
    char longitude[kPositionTextSize];
    FormatLatitude(position.Latitude, latitude);
    FormatLongitude(position.Longitude, longitude);
    CheckPositionText(latitude, "NS");
    CheckPositionText(longitude, "WE");
    CheckChartView(position);
    if (moderate && std::fabs(position.Latitude) <= 10800.0 && std::fabs(position.Longitude) <= 10800.0) {
        FUZZ_CHECK(std::strlen(latitude) <= 11);
        FUZZ_CHECK(std::strlen(longitude) <= 11);
    }
}

} // namespace

// The Convert flow: letters, matches in table order, the first quad that
// locates the code; every result within its range.
void ConvertAndCheck(const char *code)
{
    char letters[3] = {};
    std::strncpy(letters, code, 2);
    MatchCount = FindQuadsByName(letters);
    FUZZ_CHECK(MatchCount >= 0 && MatchCount <= kMaxMatches);

    int named = 0;
    for (int j = 0; j < Grid.QuadCount; ++j)
        named += std::strcmp(Grid.Quads[j].QuadName, letters) == 0;
    FUZZ_CHECK(MatchCount == named);
    CheckGridView();

    for (int i = 0; i < MatchCount; ++i) {
        int16_t quadIndex = MatchList[i];
        FUZZ_CHECK(quadIndex >= 0 && quadIndex < Grid.QuadCount);
        FUZZ_CHECK(i == 0 || quadIndex > MatchList[i - 1]);
        FUZZ_CHECK(std::strcmp(Grid.Quads[quadIndex].QuadName, letters) == 0);

        SubsquareOffsetValue before = SubsquareOffset;
        int16_t result = LocateSubsquare(code, quadIndex);
        FUZZ_CHECK(result == kLocateFound || result == kLocateWrongLength || result == kLocateNotFound);
        FUZZ_CHECK((result == kLocateWrongLength) == (std::strlen(code) != 6));
        if (result != kLocateFound) {
            FUZZ_CHECK(std::memcmp(&before, &SubsquareOffset, sizeof before) == 0);
            continue;
        }
        CheckLocated(code, quadIndex);
        return;
    }
}
