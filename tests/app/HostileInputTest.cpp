// Hostile typing: overlong codes and pastes, bytes above 0x7F, control
// characters, blanks and a burst of Convert presses.  The program keeps
// working and always answers with one of its own messages.
#include <gtest/gtest.h>

#include <string>

#include "AppDriver.h"

namespace {

const char kOk[] = " Ok.";
const char kNoGrid[] = " Grid not in database.";
const char kWrongLength[] = " Use 6 chars, example CD1234 ";
const char kNoPosition[] = " Position not in database  ";
const char kBlank4[] = "    ";

struct HostileCase {
    const char *What;
    std::string Code;
    const char *Message; // every failure blanks the position fields
};

// Codes against the test grid, whose quads are CD, CE and AB.
const HostileCase kCases[] = {
    {"99 characters", "CD" + std::string(97, '1'), kWrongLength},
    {"a 5000-character paste", "CD" + std::string(4998, '7'), kWrongLength},
    {"a long paste with unknown letters", std::string(3000, 'Q'), kNoGrid},
    {"bytes above 0x7F as the letters", "\xC5\xC5" "1234", kNoGrid},
    {"bytes above 0x7F as a digit pair", "CD\xB0\xE5" "12", kNoPosition},
    {"control characters as a digit pair", "CD\x01\x02" "12", kNoPosition},
    {"a TAB inside the code", "CD12\t4", kNoPosition},
    {"only blanks", "      ", kNoGrid},
    {"a sign as the second pair", "CD12-1", kNoPosition},
    {"a blank before the letters", " CD123", kNoGrid},
};

TEST(HostileInput, EveryCodeGetsOneOfTheProgramsMessages)
{
    OrvantaRun run("hostile-typing", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    for (const HostileCase &c : kCases) {
        SCOPED_TRACE(c.What);
        run.Convert("CD1234"); // a known state before each case
        ASSERT_EQ(run.Text(1012), kOk);
        run.Convert(c.Code);
        EXPECT_EQ(run.Text(1012), c.Message);
        EXPECT_EQ(run.Text(1003), kBlank4);
        EXPECT_EQ(run.Text(1002), kBlank4);
    }
    // Still converting afterwards.
    run.Convert("CE5555");
    EXPECT_EQ(run.Text(1012), kOk);
    EXPECT_EQ(run.Text(1003), "52\xB0" "39.00 N");
}

TEST(HostileInput, ABurstOfConvertPresses)
{
    OrvantaRun run("hostile-burst", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    run.SetText(1000, "AB4455");
    for (int i = 0; i < 200; ++i)
        run.Post(run.Dialog(), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(run.Item(1001)));
    for (int i = 0; i < 50; ++i)
        run.Post(run.Dialog(), WM_KEYDOWN, VK_CAPITAL, 0);
    run.Sync();
    EXPECT_TRUE(WaitFor([&] { return run.Text(1012) == kOk; }));
    EXPECT_EQ(run.Text(1003), "44\xB0" "33.00 N");
    EXPECT_EQ(run.Text(1002), "50\xB0" "19.50 W");
    run.Convert("XX1234");
    EXPECT_EQ(run.Text(1012), kNoGrid);
}

} // namespace
