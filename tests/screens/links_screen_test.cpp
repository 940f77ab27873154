// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "screens/links_screen.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::ScreensTest;

TEST_F(ScreensTest, TheLinksScreenTakesEachChangeAtOnceAndKeepsItInTheIniFile) {
    testing::Opened<AboutScreen> about{context};
    about.screen.OnPress(ids::kLinksButton);
    EXPECT_EQ(opener.opened, std::vector<ScreenKind>{ScreenKind::Links});
    links.states = {"WSJT-X: not heard", "JS8Call: off"};
    LinksScreen screen{context, dialog};
    screen.Initialise();
    EXPECT_EQ(dialog.Text(ids::kWsjtxAddress) + " | " + dialog.Text(ids::kWsjtxState) + " | " + dialog.Text(ids::kRigAddress),
              "127.0.0.1:2237 | WSJT-X: not heard | 127.0.0.1:4532");
    const auto tick = [&](int id) {
        dialog.SetChecked(id, true);
        screen.OnPress(id);
    };
    const auto type = [&](int id, std::string_view text) {
        dialog.SetText(id, text);
        screen.OnFocusLost(id);
    };
    tick(ids::kJs8callOn);
    EXPECT_TRUE(links.published.back().first.js8call);
    type(ids::kWsjtxAddress, " 224.0.0.1:2237 ");
    EXPECT_EQ(links.published.back().first.wsjtxAddress, "224.0.0.1:2237");
    tick(ids::kRigOn);
    EXPECT_TRUE(radio.published.back().on);
    type(ids::kRigAddress, "10.0.0.2:4532\n");
    EXPECT_EQ(radio.published.back().address, "10.0.0.2:4532");
    links.states.js8call = "JS8Call: not running";
    radio.state.line = "Radio: 439.3750 \u22127.600 T127.3 set";
    screen.OnTimer();
    EXPECT_EQ(dialog.Text(ids::kJs8callState), "JS8Call: not running");
    EXPECT_EQ(dialog.utf8[ids::kRigState], radio.state.line);
    dialog.SetText(ids::kJs8callAddress, "");  // emptied: the usual address
    screen.OnClose();
    EXPECT_FALSE(dialog.timerRunning);
    testing::ExpectShown("links.ini.expected", testing::ReadFile(folder / "Moltrevane.ini"));  // the kept links
}

}  // namespace
}  // namespace moltrevane
