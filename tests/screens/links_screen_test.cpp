#include <gtest/gtest.h>

#include "screens/about_screen.h"
#include "screens/control_ids.h"
#include "screens/links_screen.h"

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::kFix;
using testing::kNoFix;
using testing::ReadFile;
using testing::Row;
using testing::ScreensTest;
using testing::WriteFile;

TEST_F(ScreensTest, TheLinksScreenTakesEachChangeAtOnceAndKeepsItInTheIniFile) {
    testing::RecordingDialog info;
    AboutScreen about{context, info};
    about.OnPress(ids::kLinksButton);
    EXPECT_EQ(opener.opened, std::vector<ScreenKind>{ScreenKind::Links});

    links.states = {"WSJT-X: not heard", "JS8Call: off"};
    LinksScreen screen{context, dialog};
    screen.Initialise();
    EXPECT_EQ(dialog.Text(ids::kWsjtxAddress), "127.0.0.1:2237");
    EXPECT_EQ(dialog.Text(ids::kWsjtxState), "WSJT-X: not heard");
    dialog.SetChecked(ids::kJs8callOn, true);
    screen.OnPress(ids::kJs8callOn);
    EXPECT_TRUE(links.published.back().first.js8call);
    dialog.SetText(ids::kWsjtxAddress, " 224.0.0.1:2237 ");
    screen.OnFocusLost(ids::kWsjtxAddress);
    EXPECT_EQ(links.published.back().first.wsjtxAddress, "224.0.0.1:2237");
    links.states.js8call = "JS8Call: not running";
    screen.OnTimer();
    EXPECT_EQ(dialog.Text(ids::kJs8callState), "JS8Call: not running");
    dialog.SetText(ids::kJs8callAddress, "");  // emptied: the usual address
    screen.OnClose();
    EXPECT_FALSE(dialog.timerRunning);
    const std::string ini = ReadFile(folder / "Moltrevane.ini");
    for (const std::string_view line : {"js8call = on\n", "wsjtx_address = 224.0.0.1:2237\n", "js8call_address = 127.0.0.1:2442\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace moltrevane
