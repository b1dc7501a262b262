// The Convert command: from the code field's text to the position fields,
// the message field and the picture.
#include "app/MainDialog.h"
#include "app/WholeMinutes.h"
#include "convert/ConvertCode.h"
#include "convert/GridLookup.h"
#include "data/GridDatabase.h"
#include "display/ChartView.h"
#include "display/GridView.h"
#include "resources/resource.h"

namespace {

enum : int { kCodeBufferSize = kCodeFieldLength + 1 };

const char kBlankPosition[] = "    ";

// Writes the position texts and draws the view of the current mode.
void ShowPosition(HWND dialog, const ConversionResult &result)
{
    SetDlgItemTextA(dialog, IDC_LATITUDE, result.LatitudeText.c_str());
    SetDlgItemTextA(dialog, IDC_LONGITUDE, result.LongitudeText.c_str());

    if (DisplayMode == kDisplayGrid)
        DrawGridView(dialog, MatchList, MatchCount);
    else
        DrawChartView(dialog, WholeMinutes(result.Position.Latitude), WholeMinutes(result.Position.Longitude), true);
}

} // namespace

// Converts the code field's text; does nothing at all after a failed load.
// Every failure blanks the position fields, so that no earlier position
// stands beside the new code, and leaves the picture as it was.
void RunConvertCommand(HWND dialog)
{
    if (Grid.LoadStatus != kLoadOk)
        return;

    char code[kCodeBufferSize] = "";
    GetDlgItemTextA(dialog, IDC_CODE, code, kCodeBufferSize);
    ConversionResult result = ConvertCode(code);
    SetDlgItemTextA(dialog, IDC_MESSAGE, ShownMessage(result));
    if (result.Status != ConvertStatus::Converted) {
        SetDlgItemTextA(dialog, IDC_LATITUDE, kBlankPosition);
        SetDlgItemTextA(dialog, IDC_LONGITUDE, kBlankPosition);
        return;
    }
    ShowPosition(dialog, result);
}
