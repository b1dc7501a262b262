// The end: File Exit, Esc and the close box each end the process with exit
// code 0 and leave no window behind.
#include <gtest/gtest.h>

#include "AppDriver.h"

namespace {

struct ExitCase {
    const char *Name;
    bool ToCodeField;
    UINT Message;
    WPARAM WParam;
};

const ExitCase kExitCases[] = {
    {"File, Exit", false, WM_COMMAND, 105},
    {"Esc in the code field", true, WM_KEYDOWN, VK_ESCAPE},
    {"close box", false, WM_SYSCOMMAND, SC_CLOSE},
};

TEST(Exit, EndsTheProcessWithCodeZero)
{
    for (const ExitCase &c : kExitCases) {
        SCOPED_TRACE(c.Name);
        OrvantaRun run("exit", DataFile::Good);
        ASSERT_NE(run.Dialog(), nullptr);
        HWND dialog = run.Dialog();
        run.Post(c.ToCodeField ? run.Item(1000) : dialog, c.Message, c.WParam, c.ToCodeField ? 1 : 0);
        EXPECT_EQ(run.WaitForExit(), 0);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(run.FindOwnWindow("Orvanta"), nullptr);
        EXPECT_EQ(run.VisibleWindows(), 0);
    }
}

TEST(Exit, EndsAlsoWithoutData)
{
    OrvantaRun run("exit-missing", DataFile::Missing);
    ASSERT_NE(run.Dialog(), nullptr);
    run.Post(run.Dialog(), WM_COMMAND, 105, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
}

} // namespace
