// The Convert command: from the code field's text to the position fields,
// the message field and the picture.
#include "app/MainDialog.h"
#include "app/WholeMinutes.h"
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "data/GridDatabase.h"
#include "display/ChartView.h"
#include "display/GridView.h"
#include "resources/resource.h"

namespace {

enum : int { kCodeBufferSize = 100 };

const char kGridNotFound[] = " Grid not in database.";
const char kWrongLength[] = " Use 6 chars, example CD1234 ";
const char kPositionNotFound[] = " Position not in database  ";
const char kClearedMessage[] = "                                "; // 32 blanks
const char kOkMessage[] = " Ok.";
const char kBlankPosition[] = "    ";

// The code's first two characters, fewer when the code is shorter.
void TakeLetters(const char *code, char letters[kNameSlotSize])
{
    letters[0] = code[0];
    letters[1] = code[0] != '\0' ? code[1] : '\0';
    letters[2] = '\0';
}

// Tries the matched quads in list order; the first that locates the code is
// chosen.  Without one, the last result tells which failure it was.
int16_t ChooseQuad(const char *code, int16_t &lastResult)
{
    int16_t count = MatchCount < kMaxMatches ? MatchCount : int16_t(kMaxMatches);
    lastResult = kLocateNotFound;
    for (int16_t i = 0; i < count; ++i) {
        lastResult = LocateSubsquare(code, MatchList[i]);
        if (lastResult == kLocateFound)
            return MatchList[i];
    }
    return -1;
}

// Writes the position texts and draws the view of the current mode.
void ShowPosition(HWND dialog, int16_t quadIndex)
{
    GridPosition position = ComputePosition(quadIndex);
    char latitudeText[kPositionTextSize];
    char longitudeText[kPositionTextSize];
    FormatLatitude(position.Latitude, latitudeText);
    FormatLongitude(position.Longitude, longitudeText);
    SetDlgItemTextA(dialog, IDC_LATITUDE, latitudeText);
    SetDlgItemTextA(dialog, IDC_LONGITUDE, longitudeText);

    if (DisplayMode == kDisplayGrid)
        DrawGridView(dialog, MatchList, MatchCount);
    else
        DrawChartView(dialog, WholeMinutes(position.Latitude), WholeMinutes(position.Longitude), true);
}

} // namespace

// Converts the code field's text; does nothing at all after a failed load.
void RunConvertCommand(HWND dialog)
{
    if (Grid.LoadStatus != kLoadOk)
        return;

    char code[kCodeBufferSize] = "";
    GetDlgItemTextA(dialog, IDC_CODE, code, kCodeBufferSize);
    char letters[kNameSlotSize];
    TakeLetters(code, letters);

    MatchCount = FindQuadsByName(letters);
    if (MatchCount == 0) {
        SetDlgItemTextA(dialog, IDC_MESSAGE, kGridNotFound);
        return;
    }

    int16_t lastResult;
    int16_t chosen = ChooseQuad(code, lastResult);
    if (chosen < 0) {
        SetDlgItemTextA(dialog, IDC_MESSAGE, lastResult == kLocateWrongLength ? kWrongLength : kPositionNotFound);
        SetDlgItemTextA(dialog, IDC_LATITUDE, kBlankPosition);
        SetDlgItemTextA(dialog, IDC_LONGITUDE, kBlankPosition);
        return;
    }

    SetDlgItemTextA(dialog, IDC_MESSAGE, kClearedMessage);
    if (Grid.Quads[chosen].Chart == 1)
        SetDlgItemTextA(dialog, IDC_MESSAGE, kOkMessage);
    ShowPosition(dialog, chosen);
}
