// The program's shell: start-up, the hidden frame window and the About box.
#ifndef ORVANTA_APP_APPSHELL_H
#define ORVANTA_APP_APPSHELL_H

#include <windows.h>

enum : int { kWindowClassNameSize = 100 };

// The module instance; the chart view loads its bitmap from it as well.
extern HINSTANCE AppInstance;

// The frame window: never shown, it turns the exit commands into the
// quit message.
extern HWND FrameWindow;

// The frame window's class name, loaded from the string table.
extern char WindowClassName[kWindowClassNameSize];

// Registers the frame window class with its menu and icons.
void RegisterFrameClass(HINSTANCE instance);

// Creates the hidden frame window and runs the main dialog: 0 when the
// frame window cannot be created, 1 once the dialog has ended.
int StartFrameAndDialog(HINSTANCE instance, int showCommand);

// The frame window's procedure.
LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The About box's dialog procedure.
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the About box modally, owned by owner.
void OpenAboutBox(HWND owner);

#endif
