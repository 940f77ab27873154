// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "core/own_position.h"
#include "screens/list_picker_screen.h"
#include "screens/nearest_rows.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

// ---- Repeater and station info screens --------------------------------------------

class RepeaterScreenTest : public testing::ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        SetOffline("JO31OM");
        screen.Initialise();
    }
    void TypeCall(std::size_t row, std::string_view call) {
        screen.OnPress(ids::kRepeaterRows[row].newCall);
        dialog.texts[ids::kRepeaterRows[row].call] = call;
        screen.OnFocusLost(ids::kRepeaterRows[row].call);
    }
    std::string Call(std::size_t row) { return dialog.Text(ids::kRepeaterRows[row].call); }
    // What the seven rows show on `shown`: call, distance, direction, channel and place.
    static std::string Rows(testing::RecordingDialog& shown, const std::string& when) {
        std::string text = "# " + when + "\n";
        for (const ids::RepeaterRowIds& row : ids::kRepeaterRows) {
            for (const int id : {row.call, row.km, row.grad, row.channel, row.info}) {
                // What the directory's text showed in full where it went down its path, else the 8-bit text read back.
                const bool full = shown.utf8.count(id) != 0 && CodePageFromUtf8(shown.utf8[id]) == shown.Text(id);
                text += " " + (full ? shown.utf8[id] : Utf8FromCodePage(shown.Text(id))) +
                        (shown.enabled.count(id) && !shown.enabled[id] ? " (greyed)" : "") + " |";
            }
            text += "\n";
        }
        return text;
    }
    // The record Info Station shows.
    std::string Record(const std::string& when) {
        testing::Opened<StationInfoScreen> info{context};
        std::string text = "# " + when + "\n";
        for (const std::string& line : info.dialog.lines[ids::kStationRecordList]) text += "  " + line + "\n";
        return text;
    }

    RepeaterScreen screen{context, dialog};
};

TEST_F(RepeaterScreenTest, TypedCallIsLookedUpAndMeasuredAndAnUnknownOneForgetsIt) {
    screen.OnPress(ids::kRepeaterRows[0].newCall);
    EXPECT_FALSE(dialog.readOnly[ids::kRepeaterRows[0].call]);
    EXPECT_EQ(dialog.focused, ids::kRepeaterRows[0].call);
    dialog.texts[ids::kRepeaterRows[0].call] = "DB0NOR";
    screen.OnFocusLost(ids::kRepeaterRows[0].call);
    EXPECT_TRUE(dialog.readOnly[ids::kRepeaterRows[0].call]);
    std::string shown = Rows(dialog, "DB0NOR typed");
    TypeCall(1, "DB0ABC");  // at the own position
    screen.OnTimer();
    shown += Rows(dialog, "DB0ABC typed below it, measured at the next second");
    TypeCall(0, "");
    shown += Rows(dialog, "the first emptied");
    screen.OnTimer();
    shown += Rows(dialog, "the next second");
    screen.OnFocusLost(ids::kRepeaterRows[0].call);
    shown += Rows(dialog, "left again: looks up \"no Call\"");
    testing::ExpectShown("typed-calls.expected", shown);
}

TEST_F(RepeaterScreenTest, TypingACallStopsTheListFollowingAndSaysSo) {
    state.drive.followKm = 5;
    screen.Initialise();
    EXPECT_EQ(dialog.Text(ids::kFollowButton), "Follow 5 km");
    TypeCall(0, "DB0NOR");
    EXPECT_EQ(state.drive.followKm, 0);
    EXPECT_EQ(dialog.Text(ids::kFollowButton), "Follow off");
    EXPECT_TRUE(HasLine("Moltrevane.ini", "follow = off\n"));
    screen.OnPress(ids::kFollowButton);
    EXPECT_EQ(opener.opened.back(), ScreenKind::Driving);
}

TEST_F(RepeaterScreenTest, DrivingChoicesAreKeptAndMissingSpeechIsSaid) {
    announcer.speech = false;
    DrivingScreen driving{context, dialog};
    driving.Initialise();
    EXPECT_EQ(dialog.Text(ids::kSpeechState), "Speech: espeak-ng is not installed; spoken alerts are silent");
    // Tone, and every kind told, squares of six characters.
    EXPECT_EQ(std::make_tuple(dialog.Selection(ids::kAlertChoice), dialog.Checked(ids::kTellNearest),
                              dialog.Selection(ids::kTellSquare), dialog.Checked(ids::kTellFix)),
              std::make_tuple(1, true, 2, true));
    for (const auto& [choice, item] : {std::pair{ids::kFollowChoice, 2}, {ids::kAlertChoice, 2}, {ids::kLocatorChoice, 2}, {ids::kTellSquare, 1}})
        dialog.Select(choice, item);
    dialog.SetChecked(ids::kTellNearest, false);
    driving.OnClose();
    EXPECT_EQ(state.drive, (DriveSettings{5, AlertMode::Speech, 10, {false, 4, true}}));
    testing::ExpectShown("driving.ini.expected", testing::ReadFile(folder / "Moltrevane.ini"));  // the kept choices
    testing::Opened<DrivingScreen> reopened{context};
    EXPECT_EQ(std::make_pair(reopened.dialog.Checked(ids::kTellNearest), reopened.dialog.Selection(ids::kTellSquare)), std::make_pair(false, 1));
    reopened.dialog.SetChecked(ids::kTellFix, false);
    reopened.dialog.Select(ids::kTellSquare, 0);
    reopened.screen.OnClose();
    EXPECT_EQ(state.drive.told, (AlertChoices{false, 0, false}));
}

TEST_F(RepeaterScreenTest, ImportOnTheInfoScreenRunsBesideTheWindowAndTheNextSearchUsesItsStations) {
    testing::Opened<AboutScreen> about{context};
    about.screen.OnPress(ids::kImportStations);
    EXPECT_EQ(opener.opened, std::vector<ScreenKind>{ScreenKind::ListPicker});
    testing::Opened<ListPickerScreen> picker{context};
    picker.dialog.chosenFiles = {MOLTREVANE_IMPORT_FIXTURES "/german.csv"};  // "Other file…", the toolkit's chooser
    picker.screen.OnPress(ids::kListOther);
    picker.screen.OnPress(ids::kListReplace);
    EXPECT_TRUE(picker.dialog.closed);
    EXPECT_TRUE(testing::Eventually([&] {
        about.screen.OnTimer();
        EXPECT_TRUE(about.dialog.timerRunning || !messages.shown.empty());
        return !messages.shown.empty();
    }, std::chrono::seconds(60)));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Import stations");
    const std::string expected = "german.csv: 11 stations (3 skipped: 1 not working, 1 without a position, 1 "
                                 "duplicate; 1 placed from a 4-character locator) The directory before was kept as";
    std::string shown = messages.shown[0].second;
    for (std::size_t line = 0, end; line < shown.size(); line = end + 1) {
        end = std::min(shown.find('\n', line), shown.size());
        EXPECT_LE(end - line, 20u);  // a message as narrow as the smallest screen
    }
    std::replace(shown.begin(), shown.end(), '\n', ' ');
    EXPECT_EQ(shown.substr(0, expected.size()), expected);
    EXPECT_EQ(about.dialog.Text(ids::kImportStations), ids::kImportStationsText);
    EXPECT_TRUE(about.dialog.enabled[ids::kImportStations] && !about.dialog.timerRunning);
    EXPECT_TRUE(std::filesystem::exists(folder / "Moltrevane.sqlite.old"));
    SetOffline("JO50AA");
    Search(screen);
    EXPECT_EQ(Call(0), "DB0GB");
}

// What the seven rows show, step by step: searches from a few places and under a few filters,
// a call typed in the 8-bit code page, the wide and the portrait shapes, the car moving each
// way and the fix kept from an earlier second; and the record a call of several rows opens.
// Calls alike in their first 23 characters are two stations; a call with several rows shows,
// and opens the record of, the row the search measured: the first by locator among those the
// filters show.
TEST_F(RepeaterScreenTest, WhatTheRowsShow) {
    std::string shown;
    const auto rows = [&](const std::string& when) { shown += Rows(dialog, when); };
    const auto searched = [&](const char* locator, const char* when) {
        SetOffline(locator);
        Search(screen);
        rows(std::string("searched at ") + locator + when);
    };
    const auto record = [&](std::string_view call) {
        ASSERT_LT(RowOf(call), 7u) << call;
        screen.OnPress(ids::kRepeaterRows[RowOf(call)].stationInfo);
        shown += Record("the record of " + std::string(call));
    };
    searched("JN58SE", "");
    EXPECT_TRUE(dialog.enabled[ids::kSearchStation] && dialog.timerRunning);
    searched("ERROR", ": no own position, nothing is nearest");
    searched("JO31OM", "");
    record("DB0DUP");
    TypeCall(0, "D\xD6" "0ABC");  // typed in the 8-bit code page
    rows("typed");
    for (const LayoutShape shape : {LayoutShape::Wide, LayoutShape::Portrait}) {
        dialog.shape = shape;
        screen.OnTimer();
        rows(shape == LayoutShape::Wide ? "wide: the place on a line of its own" : "portrait: the channel on a line of its own");
    }
    dialog.shape = LayoutShape::Design;
    state.show70cm = false;
    searched("JO31OM", ", 70 cm hidden");
    state.show70cm = true;
    state.show2m = false;
    searched("JO31OM", ", 2 m hidden");
    record("DB0DUP");
    state.show70cm = false;
    searched("JO31OM", ", 2 m and 70 cm hidden");
    state.show70cm = state.show2m = true;
    searched("JO31OM", "");
    state.portActive = true;
    state.gpsFix = PositionFromLocator("JO31ON");
    for (const auto& [motion, live] : {std::pair{GroundMotion{100, 0}, true}, {{100, 90}, true}, {{100, 180}, true}, {{100, 270}, true},
                                       {{4, 90}, true}, {{100, std::nullopt}, true}, {{100, 90}, false}}) {
        state.motion = motion;
        state.fixLive = live;
        screen.OnTimer();
        rows("at JO31ON going " + (motion.courseDeg ? std::to_string(static_cast<int>(*motion.courseDeg)) : "nowhere") + " at " +
             std::to_string(static_cast<int>(*motion.speedKmh)) + " km/h" + (live ? "" : ", the fix from an earlier second"));
    }
    testing::ExpectShown("repeater-rows.expected", shown);
}

TEST_F(RepeaterScreenTest, AFoundCallItsLookupMissesLeavesNoDistanceBehind) {
    sqlite3* db = nullptr;  // a blob call: listed by the search, never equal to the lookup's text
    sqlite3_open((folder / "Moltrevane.sqlite").c_str(), &db);
    sqlite3_exec(db, "INSERT INTO repeater (call, loc) VALUES (CAST('DB0BLB' AS BLOB), 'JO31OM')", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Search(screen);
    const std::size_t missed = RowOf("no Call");
    ASSERT_LT(missed, 7u);
    EXPECT_EQ(dialog.Text(ids::kRepeaterRows[missed].km) + dialog.Text(ids::kRepeaterRows[missed].info), "");
}

// Between searches the rows stay in order of their distance: a new order is shown at the next
// second, but not while a call is typed.
TEST_F(RepeaterScreenTest, TheRowsShowTheNewOrderAsTheCarMoves) {
    SetOffline("JO31ON");
    Search(screen);
    EXPECT_EQ(Call(0), "DB0NOR");
    const auto moved = [&](const char* locator) {
        SetOffline(locator);
        KeepInDistanceOrder(context.rows, OwnPosition(state));  // as the main screen's cycle does
        screen.OnTimer();
        return Call(0) + " | " + dialog.Text(ids::kRepeaterRows[0].channel) + dialog.Text(ids::kRepeaterRows[0].info);
    };
    const std::string north = "DB0" + std::string(21, 'X') + "-NORD | FM  JO31OL - Nordhang";
    EXPECT_EQ(moved("JO31OL"), north);
    const std::size_t nor = RowOf("DB0NOR");
    screen.OnPress(ids::kRepeaterRows[nor].newCall);
    EXPECT_EQ(context.rows.typing, nor);
    EXPECT_EQ(moved("JO31ON"), north) << "the order waits";
    EXPECT_EQ(RowOf("DB0NOR"), 7u) << "the typed row's entry is left as typed";
    dialog.texts[ids::kRepeaterRows[nor].call] = "DB0LONG";
    screen.OnFocusLost(ids::kRepeaterRows[nor].call);
    EXPECT_FALSE(context.rows.typing);
}

TEST_F(RepeaterScreenTest, ReopenedScreenShowsTheKeptRowsAndOpensTheirRecords) {
    TypeCall(2, "DB0LONG8");
    testing::Opened<RepeaterScreen> again{context};
    std::string shown = Rows(again.dialog, "reopened");
    again.dialog.shape = LayoutShape::Portrait;
    again.screen.OnTimer();
    shown += Rows(again.dialog, "portrait: the channel on a line of its own");

    again.screen.OnPress(ids::kRepeaterRows[2].stationInfo);
    EXPECT_EQ(context.infoStation.call, "DB0LONG8");
    again.screen.OnPress(ids::kRepeaterRows[3].stationInfo);  // empty row: nothing to show
    EXPECT_EQ(opener.opened, std::vector<ScreenKind>{ScreenKind::StationInfo});
    testing::ExpectShown("station-record.expected", shown + Record("the record of DB0LONG8"));
}

}  // namespace
}  // namespace moltrevane
