// The Windows installer as a user or a deployment script runs it: silently
// into Program Files or a folder of one's choice; the program started from
// its Start-menu entries and the tools from far away, each finding its grid
// files; then the uninstaller, which leaves nothing of its own behind.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AppDriver.h"

namespace {

// Runs a command line to its end; its exit code, or -1.
long RunToEnd(const std::string &commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

std::string ShellFolder(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const std::string &path)
{
    std::string text;
    if (std::FILE *file = std::fopen(path.c_str(), "rb")) {
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

const char *const kInstalledFiles[] = {
    "orvanta.exe", "orvanta-convert.exe", "gridtool.exe", "GridData.bin", "GridData-Pacific.bin",
    "Pacific\\GridData.bin", "README.md", "LICENSE", "uninstall.exe",
};

struct InstallCase {
    const char *Name;
    const char *Folder;  // for /D=, or null for the default under Program Files
    bool StartProgram;
};

const InstallCase kCases[] = {
    {"default folder", nullptr, false},
    {"chosen folder", "scratch\\Orvanta set up", true},
};

TEST(Installer, InstallsSilentlyRunsFromItsMenuAndUninstallsCleanly)
{
    CreateDirectoryA(BuildPath("scratch").c_str(), nullptr);
    const std::string menu = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Orvanta";

    for (const InstallCase &c : kCases) {
        SCOPED_TRACE(c.Name);
        std::string folder = c.Folder ? BuildPath(c.Folder) : ShellFolder(CSIDL_PROGRAM_FILES) + "\\Orvanta";
        std::string command = "\"" + WindowsPath(ORVANTA_SETUP_EXE) + "\" /S";
        if (c.Folder)
            command += " /D=" + folder;  // NSIS takes the rest of the line, spaces included
        ASSERT_EQ(RunToEnd(command), 0);
        for (const char *file : kInstalledFiles)
            EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
        bool atlas = Exists(folder + "\\orvanta-atlas.html");
        EXPECT_TRUE(Exists(menu + "\\Orvanta.lnk"));
        EXPECT_TRUE(Exists(menu + "\\Orvanta on the Pacific Grid.lnk"));
        EXPECT_EQ(Exists(menu + "\\Orvanta Atlas.lnk"), atlas);

        if (c.StartProgram) {
            // The tools find both grid files beside them from any folder.
            std::string output = BuildPath("scratch\\convert-output.txt");
            ASSERT_EQ(RunToEnd("cmd.exe /c \"\"" + folder + "\\orvanta-convert.exe\" CA6897 OT1234 > \"" +
                               output + "\"\""), 0);
            EXPECT_EQ(ReadText(output), "CA6897\t37\xC2\xB0" "33.00 N\t69\xC2\xB0" "26.00 W\n"
                                        "OT1234\t33\xC2\xB0" "39.00 N\t169\xC2\xB0" "4.00 E\n");
            // Each menu entry starts the program on its own grid.
            struct Entry { const char *Link, *Code, *Latitude; };
            const Entry entries[] = {
                {"Orvanta.lnk", "CA6897", "37\xB0" "33.00 N"},
                {"Orvanta on the Pacific Grid.lnk", "OT1234", "33\xB0" "39.00 N"},
            };
            for (const Entry &entry : entries) {
                SCOPED_TRACE(entry.Link);
                OrvantaRun run("cmd.exe /c start \"\" \"" + menu + "\\" + entry.Link + "\"");
                ASSERT_NE(run.Dialog(), nullptr);
                EXPECT_EQ(run.Text(1012), " Enter Grid code.");
                run.Convert(entry.Code);
                EXPECT_EQ(run.Text(1003), entry.Latitude);
            }
        }

        // The uninstaller runs on from a copy of itself: wait for its end.
        ASSERT_EQ(RunToEnd("\"" + folder + "\\uninstall.exe\" /S"), 0);
        EXPECT_TRUE(WaitFor([&] { return !Exists(folder) && !Exists(menu); }, 60000))
            << "left behind: " << folder << " or " << menu;
    }
}

} // namespace
