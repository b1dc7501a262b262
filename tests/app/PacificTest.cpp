// The Pacific grid in the window: each start-up entry that puts the
// program on the Pacific data file (the Linux launcher's --pacific, the
// Windows zip's batch file) gives a program that converts a Pacific code.
#include <gtest/gtest.h>

#include <string>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

// A scratch folder of its own for one start-up entry.
std::string FreshFolder(const std::string &name)
{
    CreateDirectoryA(BuildPath("scratch").c_str(), nullptr);
    std::string folder = BuildPath("scratch\\" + name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// An installed program folder and the launcher's command line; the launcher
// runs the program in this Wine prefix with the tree's own Wine loader.
std::string PrepareLauncher()
{
    std::string home = FreshFolder("pacific-launcher-home");
    CopyFileA(WindowsPath(ORVANTA_PROGRAM).c_str(), (home + "\\orvanta.exe").c_str(), FALSE);
    CopyFileA(WindowsPath(ORVANTA_PACIFIC_DATA).c_str(), (home + "\\GridData-Pacific.bin").c_str(), FALSE);
    std::string unixScratch = std::string(ORVANTA_TEST_BINARY_DIR) + "/scratch/";
    SetEnvironmentVariableA("ORVANTA_HOME", (unixScratch + "pacific-launcher-home").c_str());
    SetEnvironmentVariableA("ORVANTA_USER_DIR", (unixScratch + "pacific-launcher-data").c_str());
    SetEnvironmentVariableA("ORVANTA_WINE", ORVANTA_WINE_LOADER);
    return WindowsPath(ORVANTA_LAUNCHER) + " --pacific";
}

// The zip's layout: the program, the batch file and Pacific\GridData.bin.
std::string PrepareZipFolder()
{
    std::string folder = FreshFolder("pacific-zip");
    CreateDirectoryA((folder + "\\Pacific").c_str(), nullptr);
    CopyFileA(WindowsPath(ORVANTA_PROGRAM).c_str(), (folder + "\\orvanta.exe").c_str(), FALSE);
    CopyFileA(WindowsPath(ORVANTA_PACIFIC_BAT).c_str(), (folder + "\\orvanta-pacific.bat").c_str(), FALSE);
    CopyFileA(WindowsPath(ORVANTA_PACIFIC_DATA).c_str(), (folder + "\\Pacific\\GridData.bin").c_str(), FALSE);
    return "cmd.exe /c \"" + folder + "\\orvanta-pacific.bat\"";
}

struct PacificStart {
    const char *Name;
    std::string (*Prepare)();
};

const PacificStart kStarts[] = {
    {"launcher --pacific", PrepareLauncher},
    {"zip batch file", PrepareZipFolder},
};

TEST(Pacific, EachStartUpEntryConvertsAPacificCode)
{
    for (const PacificStart &start : kStarts) {
        SCOPED_TRACE(start.Name);
        if (start.Prepare == PrepareLauncher && std::string(ORVANTA_WINE_LOADER).empty())
            continue; // not under Wine: no Linux launcher
        OrvantaRun run(start.Prepare());
        ASSERT_NE(run.Dialog(), nullptr);
        EXPECT_EQ(run.Text(1012), " Enter Grid code.");
        // OT lies in the Pacific file only.
        run.Convert("OT1234");
        EXPECT_EQ(run.Text(1012), std::string(32, ' ')); // chart 2 positions show no Ok
        EXPECT_EQ(run.Text(1003), "33\xB0" "39.00 N");
        EXPECT_EQ(run.Text(1002), "169\xB0" "4.00 E");
        if (start.Prepare == PrepareLauncher)
            SaveScreenshot(run.Dialog(), "05-pacific-OT1234");
    }
}

} // namespace
