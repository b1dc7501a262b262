// The About box: the program's description and the data file's About line.
#include "app/AppShell.h"
#include "data/GridDatabase.h"
#include "resources/resource.h"

// Runs the About box modally; what it returns is of no interest.
void OpenAboutBox(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
}

// Shows the About line when the box opens; Ok, Esc and the close box end it.
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_ABOUT_TEXT, Grid.AboutText);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}
