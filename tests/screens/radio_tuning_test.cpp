// SPDX-License-Identifier: GPL-3.0-or-later
// The radio tuned from the screens: a row's Tune button in the wide layout, the Info Station
// screen's, the tuned row marked, and follow tuning each new nearest with "radio set" told.
#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

class RadioTuningTest : public testing::ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        SetOffline("JO31OM");
        state.rig = {true, "127.0.0.1:4532", TuneMode::Tap};
    }
    // Each row's call and its Tune button, greyed in brackets; Info Station's; what the radio was asked to tune.
    std::string Tunes(const std::string& when, testing::RecordingDialog& info) {
        std::string text = "# " + when + "\n";
        for (const ids::RepeaterRowIds& row : ids::kRepeaterRows)
            text += " " + Utf8FromCodePage(dialog.Text(row.call) + (dialog.enabled[row.tune] ? " " + dialog.Text(row.tune) : " (" + dialog.Text(row.tune) + ")")) + " |";
        text += "\n info: " + std::string(info.enabled[ids::kInfoTune] ? "Tune" : "(Tune)") + " | " + info.utf8[ids::kInfoRadioState] + "\n tuned:";
        for (const auto& [call, cause] : radio.tuned) text += " " + call + (cause == TuneCause::Tap ? " by a tap;" : " by follow;");
        return text + "\n";
    }
    void Cycles(MainScreen& screen, int seconds) {
        for (int second = 0; second < seconds; ++second) screen.RunCycle();
    }
};

TEST_F(RadioTuningTest, ARowOrItsInfoScreenTunesTheRadioAndTheTunedRowIsMarked) {
    RepeaterScreen screen{context, dialog};
    screen.Initialise();
    Search(screen);
    ASSERT_TRUE(context.rows.rows[0]);
    testing::RecordingDialog infoDialog;
    std::string shown = Tunes("searched at JO31OM: DB0NOR has no frequency, nothing to set", infoDialog);
    const std::size_t nor = RowOf("DB0NOR");
    ASSERT_LT(nor, 7u);
    screen.OnPress(ids::kRepeaterRows[nor].tune);
    shown += Tunes("DB0NOR's Tune tapped", infoDialog);
    screen.OnPress(ids::kRepeaterRows[0].tune);
    shown += Tunes("DB0ABC's Tune tapped", infoDialog);
    radio.state.tuned = std::exchange(radio.state.busy, std::nullopt);
    screen.OnTimer();
    shown += Tunes("the radio set", infoDialog);
    state.rig.tune = TuneMode::Off;  // nothing to tap, in the rows nor on the Info screen
    screen.OnTimer();
    screen.OnPress(ids::kRepeaterRows[0].tune);
    context.infoStation = context.rows.rows[0]->key;
    StationInfoScreen info{context, infoDialog};
    info.Initialise();
    shown += Tunes("tuning off, DB0ABC's Tune tapped, DB0ABC's record opened", infoDialog);
    state.rig.tune = TuneMode::Follow;
    radio.state.line = "Radio: 439.1000 \u22127.600 T127.3 set";
    info.OnTimer();
    info.OnPress(ids::kInfoTune);
    shown += Tunes("follow tuning, the record's Tune tapped", infoDialog);
    state.rig.on = false;
    info.OnTimer();
    testing::ExpectShown("radio-tuning.expected", shown + Tunes("the radio off", infoDialog));
}

TEST_F(RadioTuningTest, FollowTunesEachNewNearestByItselfAndTheAnnouncementSaysRadioSet) {
    MainScreen screen{context, dialog};
    screen.Initialise();
    state.rig.tune = TuneMode::Follow;
    state.drive = {5, AlertMode::Speech, 6, {}};
    CycleUntilSearched(screen);
    ASSERT_EQ(radio.tuned, (std::vector<std::pair<std::string, TuneCause>>{{"DB0ABC", TuneCause::Follow}}));
    EXPECT_EQ(radio.published.back(), state.rig);
    EXPECT_TRUE(announcer.started.empty()) << "told once the radio is set";
    radio.state.tuned = std::exchange(radio.state.busy, std::nullopt);
    screen.RunCycle();
    ASSERT_EQ(announcer.started.size(), 1u);
    EXPECT_TRUE(announcer.started[0].second.text.ends_with("0 kilometres. radio set")) << announcer.started[0].second.text;
    screen.RunCycle();
    EXPECT_EQ(radio.tuned.size(), 1u) << "the same nearest is not tuned again";

    SetOffline("JO31OO");  // DB0NOR the new nearest, a station without a frequency: not tuned
    Cycles(screen, 3);
    EXPECT_EQ(radio.tuned.size(), 1u);
    radio.state.tuned.reset();  // back to DB0ABC, which the radio never gets to: waited for a few seconds only
    SetOffline("JO31OM");
    Cycles(screen, 15);
    EXPECT_EQ(radio.tuned.size(), 2u);
    ASSERT_EQ(announcer.started.size(), 2u);
    EXPECT_FALSE(announcer.started[1].second.text.ends_with("radio set")) << announcer.started[1].second.text;

    state.drive.followKm = 0;  // follow off: the radio stays where it is, there and back
    for (const char* locator : {"JO31OO", "JO31OM"}) {
        SetOffline(locator);
        Cycles(screen, 3);
    }
    EXPECT_EQ(radio.tuned.size(), 2u);

    radio.state.pttUnknown = true;  // the driving screen says why follow does not tune
    const testing::Opened<DrivingScreen> driving{context};
    EXPECT_EQ(driving.dialog.Text(ids::kSpeechState), "Speech: by espeak-ng\nRadio: no PTT report from the rig: tuned on a tap only");
}

}  // namespace
}  // namespace moltrevane
