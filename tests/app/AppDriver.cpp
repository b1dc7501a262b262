// Starting orvanta.exe in a scratch directory and talking to its windows.
#include "AppDriver.h"

#include <cstdio>
#include <string>
#include <vector>

#include "data/ScrambledReader.h"

namespace {

// Reads a whole file; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string &path)
{
    std::vector<unsigned char> bytes;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    return bytes;
}

// Writes the scrambled form of a plain fixture text as GridData.bin.
void WriteDataFile(const std::string &directory, const char *fixture)
{
    std::vector<unsigned char> bytes = ReadFileBytes(FixturePath(fixture));
    ScrambleBytes(bytes.data(), bytes.size(), 0);
    std::FILE *file = std::fopen((directory + "\\GridData.bin").c_str(), "wb");
    if (file == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A fresh scratch directory for one run, with the chosen data file.
std::string PrepareScratch(const std::string &caseName, DataFile data)
{
    CreateDirectoryA(BuildPath("scratch").c_str(), nullptr);
    std::string directory = BuildPath("scratch\\" + caseName);
    CreateDirectoryA(directory.c_str(), nullptr);
    DeleteFileA((directory + "\\GridData.bin").c_str());
    if (data == DataFile::Good)
        WriteDataFile(directory, "grid.txt");
    else if (data == DataFile::Faulty)
        WriteDataFile(directory, "faulty.txt");
    else if (data == DataFile::Absurd)
        WriteDataFile(directory, "absurd.txt");
    return directory;
}

// Finds the visible main dialog of an orvanta.exe started by someone else.
BOOL CALLBACK MatchForeignDialog(HWND window, LPARAM data)
{
    char caption[64] = "";
    char className[16] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (std::string(caption) != "Orvanta" || std::string(className) != "#32770" || !IsWindowVisible(window) ||
        processId == GetCurrentProcessId())
        return TRUE;
    *reinterpret_cast<HWND *>(data) = window;
    return FALSE;
}

struct OwnWindowSearch {
    DWORD ProcessId;
    const char *Caption;
    HWND Found;
    int Visible;
};

// Counts and looks up the top-level windows of one process.
BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<OwnWindowSearch *>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->ProcessId)
        return TRUE;
    if (IsWindowVisible(window))
        ++search->Visible;
    if (search->Caption != nullptr) {
        char caption[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) == search->Caption && search->Found == nullptr)
            search->Found = window;
    }
    return TRUE;
}

} // namespace

// The Z: drive path under which Wine shows a Unix path.
std::string WindowsPath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// A path in the test's build folder.
std::string BuildPath(const std::string &relative)
{
    return WindowsPath(ORVANTA_TEST_BINARY_DIR) + "\\" + relative;
}

// A plain fixture text of the source folder.
std::string FixturePath(const std::string &name)
{
    return WindowsPath(ORVANTA_TEST_FIXTURE_DIR) + "\\" + name;
}

// Polls every 20 ms.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
}

// Starts the program in its scratch directory and waits for the dialog.
OrvantaRun::OrvantaRun(const std::string &caseName, DataFile data)
{
    std::string directory = PrepareScratch(caseName, data);
    std::string program = WindowsPath(ORVANTA_PROGRAM);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> commandLine(program.begin(), program.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_))
        return;
    WaitFor([this] {
        dialog_ = FindOwnWindow("Orvanta");
        return dialog_ != nullptr && IsWindowVisible(dialog_);
    }, 20000);
    Sync();
}

// Starts the command, waits for a dialog of orvanta.exe and opens its process.
OrvantaRun::OrvantaRun(const std::string &commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION starter = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &starter))
        return;
    if (starter.hThread != nullptr)
        CloseHandle(starter.hThread);
    if (starter.hProcess != nullptr)
        CloseHandle(starter.hProcess);
    HWND dialog = nullptr;
    WaitFor([&dialog] {
        EnumWindows(MatchForeignDialog, reinterpret_cast<LPARAM>(&dialog));
        return dialog != nullptr;
    }, 60000);
    if (dialog == nullptr)
        return;
    process_.dwThreadId = GetWindowThreadProcessId(dialog, &process_.dwProcessId);
    process_.hProcess = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE,
                                    process_.dwProcessId);
    dialog_ = dialog;
    Sync();
}

// Kills a run that is still going and closes its handles.
OrvantaRun::~OrvantaRun()
{
    if (process_.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    if (process_.hThread != nullptr)
        CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

// The text of a control, as WM_GETTEXT gives it.
std::string OrvantaRun::Text(int id) const
{
    char text[256] = "";
    SendMessageA(Item(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Puts a text into a control with WM_SETTEXT.
void OrvantaRun::SetText(int id, const std::string &text) const
{
    SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Whether a radio button is checked.
bool OrvantaRun::Checked(int id) const
{
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The focus window of the program's GUI thread.
HWND OrvantaRun::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(process_.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

// BM_CLICK runs the click inside the program before it returns.
void OrvantaRun::Click(int id) const
{
    SendMessageA(Item(id), BM_CLICK, 0, 0);
    Sync();
}

// Types a code into the code field and clicks Convert.
void OrvantaRun::Convert(const std::string &code) const
{
    SetText(1000, code);
    Click(1001);
}

// Queues a message for a window of the program.
void OrvantaRun::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    PostMessageA(window, message, wParam, lParam);
}

// Posts a text limit to the message field (which the program never limits)
// and waits until the field reports it: the queue before it is then empty.
void OrvantaRun::Sync() const
{
    if (dialog_ == nullptr)
        return;
    LPARAM marker = ++marker_;
    HWND field = Item(1012);
    PostMessageA(field, EM_SETLIMITTEXT, marker, 0);
    WaitFor([field, marker] { return SendMessageA(field, EM_GETLIMITTEXT, 0, 0) == marker; });
}

// Finds a top-level window of this run by its caption.
HWND OrvantaRun::FindOwnWindow(const char *caption) const
{
    OwnWindowSearch search = {process_.dwProcessId, caption, nullptr, 0};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Counts the visible top-level windows of this run.
int OrvantaRun::VisibleWindows() const
{
    OwnWindowSearch search = {process_.dwProcessId, nullptr, nullptr, 0};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.Visible;
}

// The process's exit code once it has ended.
long OrvantaRun::WaitForExit(DWORD timeoutMs) const
{
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
}
