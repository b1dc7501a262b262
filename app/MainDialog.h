// The main dialog: code field, Convert, position fields, message field and
// the picture area with the chart or the grid view.
#ifndef ORVANTA_APP_MAINDIALOG_H
#define ORVANTA_APP_MAINDIALOG_H

#include <windows.h>

#include <cstdint>

// What the picture area shows.
enum DisplayModeValue : uint8_t { kDisplayChart = 0, kDisplayGrid = 1 };

extern DisplayModeValue DisplayMode;

// The dialog procedure of the main dialog.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Converts the code field's text and shows the outcome.
void RunConvertCommand(HWND dialog);

#endif
