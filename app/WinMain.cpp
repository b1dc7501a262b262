// Start-up: the frame window class, the hidden frame window, the main
// dialog and the final message loop that ends the process.
#include "app/AppShell.h"
#include "app/MainDialog.h"
#include "resources/resource.h"

HINSTANCE AppInstance;
HWND FrameWindow;
char WindowClassName[kWindowClassNameSize];

// Fills in and registers the frame window class; the result is not examined.
void RegisterFrameClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = FrameWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ORVANTA));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_ORVANTA);
    windowClass.lpszClassName = WindowClassName;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ORVANTA_SMALL));
    RegisterClassExA(&windowClass);
}

// Creates the frame window (hidden for the whole run) and runs the main
// dialog modally with no owner.
int StartFrameAndDialog(HINSTANCE instance, int /*showCommand*/)
{
    AppInstance = instance;
    HWND window = CreateWindowExA(0, WindowClassName, "", WS_DLGFRAME, CW_USEDEFAULT, 0,
                                  CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 0;
    FrameWindow = window;
    UpdateWindow(FrameWindow);
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    return 1;
}

// The entry point: after the main dialog has ended, drains the queue with
// the accelerators until the frame window's quit message arrives.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand)
{
    LoadStringA(instance, IDS_WINDOW_CLASS, WindowClassName, kWindowClassNameSize);
    RegisterFrameClass(instance);
    if (StartFrameAndDialog(instance, showCommand) == 0)
        return 0;

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ORVANTA));
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(message.hwnd, accelerators, &message) == 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
