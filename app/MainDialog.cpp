// The main dialog's procedure: loading at start, the commands, the paint
// handling and the exit through the hidden frame window.
#include "app/MainDialog.h"

#include "app/AppShell.h"
#include "convert/GridLookup.h"
#include "data/GridLoader.h"
#include "display/ChartView.h"
#include "display/GridView.h"
#include "resources/resource.h"

DisplayModeValue DisplayMode = kDisplayChart;

namespace {

const char kDataFileName[] = "GridData.bin";
const char kLoadedMessage[] = " Enter Grid code.";
const char kNotFoundMessage[] = " *** DATAFILE NOT FOUND ***";
const char kFaultyMessage[] = " ****** DATAFILE ERROR *****";

// The largest size the dialog may be maximised to, in pixels.
const POINT kMaximumSize = {399, 540};

// Loads the data file once, reports the outcome and selects the chart.
void InitMainDialog(HWND dialog)
{
    Grid.LoadStatus = LoadGridData(kDataFileName);
    const char *text = kLoadedMessage;
    if (Grid.LoadStatus == kLoadNotFound)
        text = kNotFoundMessage;
    else if (Grid.LoadStatus != kLoadOk)
        text = kFaultyMessage;
    SetDlgItemTextA(dialog, IDC_MESSAGE, text);
    SendMessageA(GetDlgItem(dialog, IDC_CHART), BM_SETCHECK, BST_CHECKED, 0);
}

// Redraws the view of the current mode from the stored state.  The views
// draw through a device context of their own, outside the paint cycle; were
// the default paint handling to run after them it would erase the
// background over the picture.  So the paint cycle (erase and validate) runs
// first, and the default handling that follows finds nothing left to do.
void PaintCurrentView(HWND dialog)
{
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    if (DisplayMode == kDisplayGrid)
        DrawGridView(dialog, MatchList, MatchCount);
    else
        DrawChartView(dialog, 0, 0, false);
}

// Ends the dialog and, through the frame window, the process.
void ExitProgram(HWND dialog, WORD command)
{
    PostMessageA(FrameWindow, WM_DESTROY, 0, 0);
    EndDialog(dialog, command);
}

// Switches the picture area to the grid view of the last code's quads.
void ShowGridView(HWND dialog)
{
    DisplayMode = kDisplayGrid;
    DrawGridView(dialog, MatchList, MatchCount);
}

// Switches the picture area back to the chart at its stored centre.
void ShowChartView(HWND dialog)
{
    DisplayMode = kDisplayChart;
    DrawChartView(dialog, 0, 0, false);
}

// Hands the focus back to the code field when the message field takes it.
void ReturnFocusToCode(HWND dialog, WORD notification)
{
    if (notification == EN_SETFOCUS)
        SetFocus(GetDlgItem(dialog, IDC_CODE));
}

// Runs one WM_COMMAND by its identifier.
INT_PTR RunCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDCANCEL:
    case IDM_EXIT:
        ExitProgram(dialog, LOWORD(wParam));
        return 1;
    case IDM_ABOUT:
        OpenAboutBox(dialog);
        return 0;
    case IDC_CODE:
    case IDC_LONGITUDE:
    case IDC_LATITUDE:
        return 0;
    case IDC_CONVERT:
        RunConvertCommand(dialog);
        return 0;
    case IDC_MESSAGE:
        ReturnFocusToCode(dialog, HIWORD(wParam));
        return 0;
    case IDC_GRID:
        ShowGridView(dialog);
        return 0;
    case IDC_CHART:
        ShowChartView(dialog);
        return 0;
    default:
        return DefWindowProcA(dialog, WM_COMMAND, wParam, lParam);
    }
}

} // namespace

// The main dialog's procedure.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitMainDialog(dialog);
        return 1;
    case WM_PAINT:
        PaintCurrentView(dialog);
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO *>(lParam)->ptMaxSize = kMaximumSize;
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_CAPITAL)
            PostMessageA(dialog, WM_COMMAND, IDC_CONVERT, 0);
        return 0;
    case WM_COMMAND:
        return RunCommand(dialog, wParam, lParam);
    default:
        return 0;
    }
}
