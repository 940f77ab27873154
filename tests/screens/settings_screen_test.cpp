#include <gtest/gtest.h>

#include "settings/settings.h"
#include "screens/control_ids.h"
#include "screens/settings_screen.h"

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::kFix;
using testing::kNoFix;
using testing::ReadFile;
using testing::Row;
using testing::ScreensTest;
using testing::WriteFile;

class SettingsScreenTest : public ScreensTest {
protected:
    SettingsScreen screen{context, dialog};
};

TEST_F(SettingsScreenTest, OpenPortUsesTheSelectedPortAndSpeed) {
    screen.Initialise();
    dialog.Select(ids::kPortChoice, 2);
    dialog.Select(ids::kSpeedChoice, 3);
    screen.OnPress(ids::kOpenPort);
    ASSERT_EQ(port.opens.size(), 1u);
    EXPECT_EQ(port.opens[0].portName, "COM3:");
    EXPECT_EQ(port.opens[0].baudRate, 9600u);
    EXPECT_EQ(port.opens[0].whenAbsent, WhenAbsent::GiveUp);
    EXPECT_TRUE(state.portActive);
    EXPECT_FALSE(dialog.enabled[ids::kOpenPort]);
    EXPECT_TRUE(dialog.enabled[ids::kClosePort]);
    ASSERT_TRUE(saveSettings(state, "", context.settingsFile));
    EXPECT_EQ(ReadFile(context.settingsFile).substr(0, 3), "341");

    Feed(kFix);
    screen.OnTimer();
    EXPECT_EQ(dialog.Text(ids::kNmeaView), std::string(kFix) + "\r\n");
}

TEST_F(SettingsScreenTest, ClosePortTellsToRestartAndDisablesBoth) {
    state.portActive = true;
    screen.Initialise();
    screen.OnPress(ids::kClosePort);
    EXPECT_FALSE(dialog.enabled[ids::kOpenPort]);
    EXPECT_FALSE(dialog.enabled[ids::kClosePort]);
    EXPECT_FALSE(dialog.timerRunning);
    EXPECT_FALSE(state.portActive);
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Info !", "Restart the programm to close the port complete"}}));
}

TEST_F(SettingsScreenTest, OfflineLocatorIsCheckedWhenLeft) {
    screen.Initialise();
    dialog.texts[ids::kOfflineLocator] = "JO31OM";
    screen.OnFocusLost(ids::kOfflineLocator);
    EXPECT_EQ(LocatorView(state.offlineLocator), "JO31OM");
    EXPECT_EQ(dialog.Text(ids::kOfflineLocator), "JO31OM");
    for (const char* bad : {"JO31", "", "jo31om"}) {
        dialog.texts[ids::kOfflineLocator] = bad;
        screen.OnFocusLost(ids::kOfflineLocator);
        EXPECT_EQ(LocatorView(state.offlineLocator), "ERROR") << bad;
        EXPECT_EQ(dialog.Text(ids::kOfflineLocator), "ERROR") << bad;
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

}  // namespace
}  // namespace moltrevane
