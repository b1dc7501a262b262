// The hidden frame window: it never paints and only answers the About and
// Exit commands and the WM_DESTROY that ends the process.
#include "app/AppShell.h"
#include "resources/resource.h"

// Runs the frame window's menu commands; others go to the default handling.
static LRESULT RunFrameCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        OpenAboutBox(window);
        return 0;
    case IDM_EXIT:
        DestroyWindow(window);
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

// The frame window class's procedure.
LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
    case WM_KEYDOWN:
        return 0;
    case WM_COMMAND:
        return RunFrameCommand(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
