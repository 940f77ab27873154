// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>


#include "core/app_state.h"
#include "settings/program_ini.h"
#include "support/golden.h"

namespace moltrevane {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::WriteFile;

class IniFileTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::filesystem::path settings = folder / "Moltrevane.cfg";
    std::filesystem::path ini = folder / "Moltrevane.ini";
    AppState state;
};

// What the program reads of each checked-in file and what the file becomes when the user then
// changes some settings, and what is read of that again, compared with golden/NAME.expected;
// saving again changes nothing.
// After an intended change: MOLTREVANE_REGENERATE_GOLDEN=1 build/normal/tests/settings_test
class IniGolden : public IniFileTest, public ::testing::WithParamInterface<const char*> {};

std::string Listed(const AppState& state) {
    std::string listed;
    for (const auto& [key, value] : IniValuesOf(state)) listed += key + " = " + value + "\n";
    return listed;
}

TEST_P(IniGolden, ReadsAndRewritesAsCheckedIn) {
    const std::filesystem::path golden = std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/settings/golden";
    WriteFile(ini, ReadFile(golden / (std::string(GetParam()) + ".ini")));
    LoadIni(state, settings);
    std::string seen = "read:\n" + Listed(state);
    state.palette = PaletteChoice::Night;
    state.links.wsjtx = true;
    state.links.wsjtxAddress = std::string(1100, '2');  // typed past what the reader takes: kept out
    state.links.js8callAddress = "192.168.1.20:2442\r\n";  // pasted with its line end: one line
    state.drive.followKm = 20;
    state.drive.told.fix = true;
    state.shownModes = ModeBit(VoiceMode::Fm) | ModeBit(VoiceMode::DStar);
    state.rig = {true, "192.168.1.20:4532", TuneMode::Follow};
    state.fullScreen = true;
    if (state.keypad) state.keypad = !*state.keypad;  // unchosen, it stays so
    EXPECT_EQ(SaveIni(state, settings).failure, "");
    const std::string rewritten = ReadFile(ini);
    seen += "saved:\n" + rewritten;
    EXPECT_TRUE(SaveIni(state, settings));
    EXPECT_EQ(ReadFile(ini), rewritten) << "a second save changed the file";
    AppState again;
    LoadIni(again, settings);
    seen += "read again:\n" + Listed(again);
    testing::ExpectGolden(golden / (std::string(GetParam()) + ".expected"), seen);
}

INSTANTIATE_TEST_SUITE_P(Files, IniGolden, ::testing::Values("by-hand", "windows", "junk", "empty", "choices"),
                         [](const auto& info) { return std::string(info.param) == "by-hand" ? "ByHand" : std::string(info.param); });

TEST_F(IniFileTest, WhatIsNotOursToRewriteStaysAsItIs) {
    const std::string huge = "palette = night\n" + std::string(kIniLargest, '#');
    WriteFile(ini, huge);
    LoadIni(state, settings);
    EXPECT_EQ(state.palette, PaletteChoice::Auto);
    EXPECT_EQ(SaveIni(state, settings).failure, ini.string() + ": larger than 64 KiB, neither read nor rewritten");
    EXPECT_EQ(ReadFile(ini), huge);

    // A link to another user's file (root's program folder, say) is neither written through nor
    // given to root; a user other than root is shown a file of root's.
    std::filesystem::remove(ini);
    std::filesystem::path others = "/etc/hostname";
    if (::geteuid() == 0) {
        others = folder / "others.ini";
        WriteFile(others, "palette = day\n");
        ASSERT_EQ(::chown(others.c_str(), 65534, 65534), 0);
    }
    const std::string theirs = ReadFile(others);
    struct stat before {};
    ASSERT_EQ(::stat(others.c_str(), &before), 0);
    std::filesystem::create_symlink(others, ini);
    state.palette = PaletteChoice::Night;
    EXPECT_EQ(SaveIni(state, settings).failure, ini.string() + ": a link to another user's file or to none, left as it is");
    struct stat after {};
    ASSERT_EQ(::stat(others.c_str(), &after), 0);
    EXPECT_EQ(ReadFile(others), theirs);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    if (::geteuid() == 0) {  // root saving a user's own file in the folder leaves it the user's
        std::filesystem::remove(ini);
        WriteFile(ini, "palette = day\n");
        ASSERT_EQ(::chown(ini.c_str(), 65534, 65534), 0);
        EXPECT_TRUE(SaveIni(state, settings));
        ASSERT_EQ(::stat(ini.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_NE(ReadFile(ini).find("palette = night\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace moltrevane
