// The Windows installer as a deployment script runs it: silently into
// Program Files or a chosen folder; the program started from its Start-menu
// entries and the tools from far away, each finding its grid files; then
// the uninstaller, which leaves nothing of its own behind.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "AppDriver.h"

namespace {

// Runs a command line through cmd.exe to its end: its exit code.
int RunCommand(const std::string &commandLine)
{
    return std::system(("\"" + commandLine + "\"").c_str());
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

struct InstallCase {
    const char *Name;
    const char *Folder; // for /D=, or null for the default under Program Files
};

const InstallCase kCases[] = {{"default folder", nullptr}, {"chosen folder", "scratch\\Orvanta set up"}};

TEST(Installer, InstallsSilentlyRunsFromItsMenuAndUninstallsCleanly)
{
    CreateDirectoryA(BuildPath("scratch").c_str(), nullptr);
    const std::string menu = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Orvanta";
    for (const InstallCase &c : kCases) {
        SCOPED_TRACE(c.Name);
        std::string folder = c.Folder ? BuildPath(c.Folder) : ShellFolder(CSIDL_PROGRAM_FILES) + "\\Orvanta";
        // /D= comes last and unquoted: NSIS takes the rest of the line.
        ASSERT_EQ(RunCommand("\"" + WindowsPath(ORVANTA_SETUP_EXE) + "\" /S" + (c.Folder ? " /D=" + folder : "")), 0);
        for (const char *file : {"orvanta.exe", "orvanta-convert.exe", "gridtool.exe", "GridData.bin",
                                 "GridData-Pacific.bin", "Pacific\\GridData.bin", "LICENSE", "uninstall.exe"})
            EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
        EXPECT_EQ(Exists(menu + "\\Orvanta Atlas.lnk"), Exists(folder + "\\orvanta-atlas.html"));

        if (c.Folder) {
            // The tools find both grid files beside them from any folder.
            std::string output = BuildPath("scratch\\convert-output.txt");
            ASSERT_EQ(RunCommand("\"" + folder + "\\orvanta-convert.exe\" CA6897 OT1234 > \"" + output + "\""), 0);
            std::ifstream in(output, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                      "CA6897\t37\xC2\xB0" "33.00 N\t69\xC2\xB0" "26.00 W\nOT1234\t33\xC2\xB0" "39.00 N\t169\xC2\xB0" "4.00 E\n");
            // Each menu entry starts the program on its own grid.
            const char *const entries[][3] = {{"Orvanta.lnk", "CA6897", "37\xB0" "33.00 N"},
                                              {"Orvanta on the Pacific Grid.lnk", "OT1234", "33\xB0" "39.00 N"}};
            for (const auto &entry : entries) {
                SCOPED_TRACE(entry[0]);
                // The program's output goes to a file, not to the test's,
                // which it would keep open after the test's end.
                OrvantaRun run("cmd.exe /c start \"\" \"" + menu + "\\" + entry[0] + "\" >\"" +
                               BuildPath("scratch\\start-output.txt") + "\" 2>&1");
                ASSERT_NE(run.Dialog(), nullptr);
                EXPECT_EQ(run.Text(1012), " Enter Grid code.");
                run.Convert(entry[1]);
                EXPECT_EQ(run.Text(1003), entry[2]);
            }
        }

        // A program that came up too late for its check is not left behind.
        RunCommand("taskkill /f /im orvanta.exe >nul 2>&1");
        // The uninstaller goes on from a copy of itself: wait for its end.
        ASSERT_EQ(RunCommand("\"" + folder + "\\uninstall.exe\" /S"), 0);
        EXPECT_TRUE(WaitFor([&] { return !Exists(folder) && !Exists(menu); }, 60000)) << folder << " or " << menu;
    }
}

} // namespace
