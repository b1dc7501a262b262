// Drives a running orvanta.exe from outside, the way Wine's user32 tests
// drive dialogs: window messages to its controls, texts read back, focus
// looked up through the GUI thread.
#ifndef ORVANTA_TESTS_APP_APPDRIVER_H
#define ORVANTA_TESTS_APP_APPDRIVER_H

#include <windows.h>

#include <functional>
#include <string>

// Which GridData.bin the program finds in its working directory.
enum class DataFile { Good, Missing, Faulty, Absurd };

// Windows path of a file of this test's build folder, source folder or of
// the program, from the Unix paths the build passes in.
std::string BuildPath(const std::string &relative);
std::string FixturePath(const std::string &name);
std::string WindowsPath(const std::string &unixPath);

// Polls condition until it holds or timeoutMs have passed.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 5000);

// One run of orvanta.exe in a scratch directory of its own; the destructor
// kills a run that the test left open.
class OrvantaRun {
public:
    OrvantaRun(const std::string &caseName, DataFile data);
    // Runs a command that starts orvanta.exe itself (a launcher or a batch
    // file) and takes over the program's dialog once it shows.
    explicit OrvantaRun(const std::string &commandLine);
    ~OrvantaRun();
    OrvantaRun(const OrvantaRun &) = delete;
    OrvantaRun &operator=(const OrvantaRun &) = delete;

    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    DWORD ProcessId() const { return process_.dwProcessId; }
    DWORD ThreadId() const { return process_.dwThreadId; }

    std::string Text(int id) const;
    void SetText(int id, const std::string &text) const;
    bool Checked(int id) const;
    HWND Focus() const;

    // Clicks a button; returns when the program has handled the click.
    void Click(int id) const;
    // Sets the code field and clicks Convert.
    void Convert(const std::string &code) const;
    // Posts a message into the program's queue.
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Returns once every message posted so far has been handled.
    void Sync() const;

    // A top-level window of this run with the given caption, or null.
    HWND FindOwnWindow(const char *caption) const;
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitForExit(DWORD timeoutMs = 10000) const;
    // Counts the top-level windows of this process that are visible.
    int VisibleWindows() const;

private:
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
    mutable LPARAM marker_ = 1000;
};

#endif
