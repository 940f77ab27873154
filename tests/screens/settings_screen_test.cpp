// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "screens/settings_screen.h"
#include "settings/settings.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

class SettingsScreenTest : public testing::ScreensTest {
protected:
    SettingsScreen screen{context, dialog};
    std::string Buttons() {
        return std::string(dialog.enabled[ids::kOpenPort] ? "open" : "-") + (dialog.enabled[ids::kClosePort] ? " close" : " -");
    }
};

// Open Port uses the selected port and speed; Close Port tells to restart and disables both.
TEST_F(SettingsScreenTest, OpenPortUsesTheSelectedPortAndSpeedAndClosePortTellsToRestart) {
    screen.Initialise();
    dialog.Select(ids::kPortChoice, 2);
    dialog.Select(ids::kSpeedChoice, 3);
    screen.OnPress(ids::kOpenPort);
    EXPECT_EQ(port.opens, (std::vector<testing::RecordingGpsSource::Open>{{"COM3:", 9600, WhenAbsent::GiveUp}}));
    EXPECT_TRUE(state.portActive);
    EXPECT_EQ(Buttons(), "- close");
    ASSERT_TRUE(saveSettings(state, "", context.settingsFile));
    EXPECT_EQ(testing::ReadFile(context.settingsFile).substr(0, 3), "341");
    Feed(testing::kFix);
    screen.OnTimer();
    EXPECT_EQ(dialog.Text(ids::kNmeaView), std::string(testing::kFix) + "\r\n");
    screen.OnPress(ids::kClosePort);
    EXPECT_EQ(Buttons(), "- -");
    EXPECT_FALSE(dialog.timerRunning || state.portActive);
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Info !", "Restart the programm to close the port complete"}}));
}

TEST_F(SettingsScreenTest, OfflineLocatorIsCheckedWhenLeft) {
    screen.Initialise();
    for (const auto& [typed, kept] : {std::pair{"JO31OM", "JO31OM"}, {"JO31", "ERROR"}, {"", "ERROR"}, {"jo31om", "ERROR"}}) {
        dialog.texts[ids::kOfflineLocator] = typed;
        screen.OnFocusLost(ids::kOfflineLocator);
        EXPECT_EQ(std::string(LocatorView(state.offlineLocator)) + " " + dialog.Text(ids::kOfflineLocator), kept + std::string(" ") + kept) << typed;
    }
}

TEST_F(SettingsScreenTest, FilterBoxesShowTheStateAndReachItOnClose) {
    state.show70cm = state.showBeacon = false;
    screen.Initialise();
    for (const FilterFlag& flag : kFilterFlags)
        EXPECT_EQ(dialog.Checked(flag.controlId), flag.label != "70 cm" && flag.label != "Bake") << flag.label;
    dialog.SetChecked(kFilterFlags.front().controlId, false);  // "KW"
    screen.OnTimer();
    EXPECT_FALSE(dialog.Checked(kFilterFlags.front().controlId));
    EXPECT_TRUE(state.showHf);
    screen.OnClose();
    EXPECT_FALSE(state.showHf);
    EXPECT_TRUE(state.showOther);
}

// The voice modes: shown as the state has them, and kept in Moltrevane.ini when changed.
TEST_F(SettingsScreenTest, ModeBoxesShowTheModesAndAChangeIsKeptInTheIniFile) {
    state.shownModes = ModeBit(VoiceMode::Fm) | ModeBit(VoiceMode::Dmr);
    screen.Initialise();
    for (const ModeFlag& flag : kModeFlags)
        EXPECT_EQ(dialog.Checked(flag.controlId), flag.mode == VoiceMode::Fm || flag.mode == VoiceMode::Dmr);
    dialog.SetChecked(kModeFlags[1].controlId, false);  // DMR
    dialog.SetChecked(kModeFlags[2].controlId, true);   // D-STAR
    screen.OnClose();
    EXPECT_EQ(state.shownModes, ModeBit(VoiceMode::Fm) | ModeBit(VoiceMode::DStar));
    EXPECT_TRUE(HasLine("Moltrevane.ini", "modes = FM, D-STAR\n"));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace moltrevane
