#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/app_state.h"
#include "settings/ini_text.h"
#include "settings/program_ini.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::WriteFile;

TEST(IniText, ReadsSettingsAndSkipsEverythingElse) {
    const std::string text = "# Moltrevane\n  palette =  night \r\nwsjtx=on\n=x\nBad Key = 1\nno equals\n"
                             "js8call = on\0junk\n"s "wsjtx = off\n" + std::string(kIniLongestLine, 'x') + "\n";
    const IniValues values = ParseIni(text);
    EXPECT_EQ(values, (IniValues{{"palette", "night"}, {"wsjtx", "off"}}));  // the last of two counts
    EXPECT_EQ(ParseIni("long = " + std::string(kIniLongestLine, 'v')), IniValues{});
}

TEST(IniText, RewritingChangesOnlyTheValuesGiven) {
    const std::string text = "# mine\r\nwsjtx = on\r\nfollow = 5   # another program's key\nwsjtx=on\n\x01\xff junk";
    EXPECT_EQ(WithIniValues(text, {{"wsjtx", "off"}, {"palette", "day"}}),
              "# mine\r\nwsjtx = off\r\nfollow = 5   # another program's key\nwsjtx = off\n\x01\xff junk\npalette = day\n");
    EXPECT_EQ(WithIniValues("", {{"a", "1\npalette = night\r"}}), "a = 1palette = night\n");  // pasted
    EXPECT_EQ(WithIniValues(text, ParseIni(text)), "# mine\r\nwsjtx = on\r\nfollow = 5   # another program's key\nwsjtx = on\n\x01\xff junk");
}

class IniFileTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::filesystem::path settings = folder / "Moltrevane.cfg";
    std::filesystem::path ini = folder / "Moltrevane.ini";
    AppState state;
};

TEST_F(IniFileTest, ValuesSurviveARestartAndTheUsersLinesStay) {
    const std::string byHand = "# by hand\nalert = speech\nwsjtx = maybe\nfollow = 7\nlocator = 10\n"
                               "alert_square = 4\nalert_fix = off\nalert_nearest = yes\n";
    WriteFile(ini, byHand);
    LoadIni(state, settings);
    EXPECT_FALSE(state.links.wsjtx);  // "maybe" is no value: the default stays
    EXPECT_EQ(state.drive, (DriveSettings{0, AlertMode::Speech, 10, {true, 4, false}}));  // nor is 7 km, nor "yes"
    state.links.js8call = true;
    state.links.wsjtxAddress = "224.0.0.1:2237";
    state.palette = PaletteChoice::Day;
    state.drive.followKm = 20;
    ASSERT_TRUE(SaveIni(state, settings));
    const std::string rewritten = "# by hand\nalert = speech\nwsjtx = off\nfollow = 20\nlocator = 10\n";
    EXPECT_EQ(ReadFile(ini).substr(0, rewritten.size()), rewritten);
    AppState again;
    LoadIni(again, settings);
    EXPECT_EQ(again.links, state.links);
    EXPECT_EQ(again.palette, PaletteChoice::Day);
    EXPECT_EQ(again.drive, state.drive);
}

TEST_F(IniFileTest, TheOldPaletteFileIsTakenOverOnce) {
    WriteFile(folder / "Moltrevane.palette", "Night\n");
    LoadIni(state, settings);
    EXPECT_EQ(state.palette, PaletteChoice::Night);
    EXPECT_EQ(ReadFile(ini).find("palette = night\n") != std::string::npos, true);
    EXPECT_FALSE(std::filesystem::exists(folder / "Moltrevane.palette"));
    WriteFile(folder / "Moltrevane.palette", "Day\n");  // the ini file holds it now
    AppState again;
    LoadIni(again, settings);
    EXPECT_EQ(again.palette, PaletteChoice::Night);
}

TEST_F(IniFileTest, WhatIsNotOursToRewriteStaysAsItIs) {
    const std::string huge = "palette = night\n" + std::string(kIniLargest, '#');
    WriteFile(ini, huge);
    LoadIni(state, settings);
    EXPECT_EQ(state.palette, PaletteChoice::Auto);
    EXPECT_FALSE(SaveIni(state, settings));
    EXPECT_EQ(ReadFile(ini), huge);

    std::filesystem::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);  // would block a reader for ever
    LoadIni(state, settings);
    EXPECT_FALSE(SaveIni(state, settings));
    EXPECT_TRUE(std::filesystem::is_fifo(ini));
}

}  // namespace
}  // namespace moltrevane
