#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include <sqlite3.h>

#include "core/own_position.h"
#include "screens/about_screen.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"
#include "screens/driving_screen.h"
#include "screens/nearest_rows.h"
#include "screens/repeater_screen.h"
#include "screens/station_info_screen.h"

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::kFix;
using testing::kNoFix;
using testing::ReadFile;
using testing::Row;
using testing::ScreensTest;
using testing::WriteFile;

// ---- Repeater and station info screens --------------------------------------------

class RepeaterScreenTest : public ScreensTest {
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
    std::string Km(std::size_t row) { return dialog.Text(ids::kRepeaterRows[row].km); }
    std::string Grad(std::size_t row) { return dialog.Text(ids::kRepeaterRows[row].grad); }
    std::string Info(std::size_t row) { return dialog.Text(ids::kRepeaterRows[row].info); }
    std::string Call(std::size_t row) { return dialog.Text(ids::kRepeaterRows[row].call); }
    std::size_t RowOf(std::string_view call) {
        std::size_t row = 0;
        while (row < 7 && Call(row) != call) ++row;
        return row;
    }

    // "Search Stn.", and the seconds it takes the index to read the directory.
    void PressSearch() {
        screen.OnPress(ids::kSearchStation);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (screen.SearchWaits() && std::chrono::steady_clock::now() < deadline) {
            EXPECT_EQ(Call(0), "   loading");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            screen.OnTimer();
        }
        ASSERT_FALSE(screen.SearchWaits());
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
    EXPECT_EQ(Info(0), "FM  JO31ON - Nordwald");
    screen.OnTimer();
    EXPECT_EQ(Km(0) + " | " + Grad(0), "5 km | 360 \xB0");

    TypeCall(1, "DB0ABC");  // at the own position
    screen.OnTimer();
    EXPECT_EQ(Km(1) + " | " + Grad(1), "0 km | ");

    TypeCall(0, "");
    EXPECT_EQ(Call(0) + " | " + Info(0), "no Call | ");
    screen.OnTimer();
    EXPECT_EQ(Km(0) + Grad(0), "");
    screen.OnFocusLost(ids::kRepeaterRows[0].call);  // left again: looks up "no Call"
    EXPECT_EQ(Call(0), "no Call");
}

TEST_F(RepeaterScreenTest, TypingACallStopsTheListFollowingAndSaysSo) {
    state.drive.followKm = 5;
    screen.Initialise();
    EXPECT_EQ(dialog.Text(ids::kFollowButton), "Follow 5 km");
    TypeCall(0, "DB0NOR");
    EXPECT_EQ(state.drive.followKm, 0);
    EXPECT_EQ(dialog.Text(ids::kFollowButton), "Follow off");
    EXPECT_NE(testing::ReadFile(folder / "Moltrevane.ini").find("follow = off\n"), std::string::npos);
    screen.OnPress(ids::kFollowButton);
    EXPECT_EQ(opener.opened.back(), ScreenKind::Driving);
}

TEST_F(RepeaterScreenTest, DrivingChoicesAreKeptAndMissingSpeechIsSaid) {
    announcer.speech = false;
    DrivingScreen driving{context, dialog};
    driving.Initialise();
    EXPECT_EQ(dialog.Selection(ids::kAlertChoice), 1);  // tone
    EXPECT_EQ(dialog.Text(ids::kSpeechState), "Speech: espeak-ng is not installed; spoken alerts are silent");
    EXPECT_TRUE(dialog.Checked(ids::kTellNearest));  // every kind told, squares of six characters
    EXPECT_EQ(dialog.Selection(ids::kTellSquare), 2);
    EXPECT_TRUE(dialog.Checked(ids::kTellFix));
    dialog.Select(ids::kFollowChoice, 2);
    dialog.Select(ids::kAlertChoice, 2);
    dialog.Select(ids::kLocatorChoice, 2);
    dialog.SetChecked(ids::kTellNearest, false);
    dialog.Select(ids::kTellSquare, 1);
    driving.OnClose();
    EXPECT_EQ(state.drive, (DriveSettings{5, AlertMode::Speech, 10, {false, 4, true}}));
    const std::string ini = testing::ReadFile(folder / "Moltrevane.ini");
    for (const char* line : {"follow = 5\n", "alert = speech\n", "locator = 10\n", "alert_nearest = off\n",
                             "alert_square = 4\n", "alert_fix = on\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
    testing::RecordingDialog again;
    DrivingScreen reopened{context, again};
    reopened.Initialise();
    EXPECT_FALSE(again.Checked(ids::kTellNearest));
    EXPECT_EQ(again.Selection(ids::kTellSquare), 1);
    again.SetChecked(ids::kTellFix, false);
    again.Select(ids::kTellSquare, 0);
    reopened.OnClose();
    EXPECT_EQ(state.drive.told, (AlertChoices{false, 0, false}));
}

TEST_F(RepeaterScreenTest, ImportOnTheInfoScreenRunsBesideTheWindowAndTheNextSearchUsesItsStations) {
    testing::RecordingDialog info;
    AboutScreen about{context, info};
    about.Initialise();
    EXPECT_EQ(info.Text(ids::kImportStations), ids::kImportStationsText);
    info.chosenFiles = {MOLTREVANE_IMPORT_FIXTURES "/german.csv"};
    about.OnPress(ids::kImportStations);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (messages.shown.empty() && std::chrono::steady_clock::now() < deadline) {
        EXPECT_TRUE(info.timerRunning);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        about.OnTimer();
    }
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
    EXPECT_EQ(info.Text(ids::kImportStations), ids::kImportStationsText);
    EXPECT_TRUE(info.enabled[ids::kImportStations]);
    EXPECT_FALSE(info.timerRunning);
    EXPECT_TRUE(std::filesystem::exists(folder / "Moltrevane.sqlite.old"));
    SetOffline("JO50AA");
    PressSearch();
    EXPECT_EQ(Call(0), "DB0GB");
}

TEST_F(RepeaterScreenTest, SearchFillsNearestFirstAndLeavesTheRestEmpty) {
    SetOffline("JN58SE");
    PressSearch();
    EXPECT_EQ(Call(0), "DB0LONG");
    EXPECT_EQ(Call(1), "DB0LONG8");
    EXPECT_EQ(Info(1), "FM  JN58SD - Muenchen");
    EXPECT_EQ(Km(1), "5 km");
    EXPECT_TRUE(dialog.enabled[ids::kSearchStation]);
    EXPECT_TRUE(dialog.timerRunning);

    SetOffline("ERROR");  // no own position: nothing is "nearest"
    PressSearch();
    for (std::size_t r = 0; r < 7; ++r) EXPECT_EQ(Call(r) + Km(r) + Info(r), "") << r;
}

// Calls alike in their first 23 characters are two stations; the rows show the channel, and
// text beyond ASCII comes through the code page both ways.
TEST_F(RepeaterScreenTest, FoundRowsShowTheStationTheSearchMeasured) {
    PressSearch();
    const std::size_t north = RowOf("DB0" + std::string(21, 'X') + "-NORD");
    ASSERT_LT(north, 7u);
    EXPECT_EQ(Info(north), "FM  JO31OL - Nordhang");
    ASSERT_LT(RowOf("DB0ABC"), 7u);
    EXPECT_EQ(Info(RowOf("DB0ABC")), CodePageFromUtf8("439.1000 \u22127.600 FM T127.3  JO31OM - Dortmund"));
    ASSERT_LT(RowOf("DB0BAK"), 7u);
    EXPECT_EQ(Info(RowOf("DB0BAK")), "432.4500 Bake  JO31OK - Turm");
    EXPECT_LT(RowOf("D\xD6" "0ABC"), 7u);
    TypeCall(0, "D\xD6" "0ABC");  // typed in the 8-bit code page
    EXPECT_EQ(Call(0) + " | " + Info(0), "D\xD6" "0ABC | FM  JO31OM - K\xF6ln");
    state.showBeacon = false;
    PressSearch();
    EXPECT_EQ(RowOf("DB0BAK"), 7u);
}

// A call with several rows shows, and opens the record of, the row the search measured: the
// first by locator among those the filters show.
TEST_F(RepeaterScreenTest, ACallWithSeveralRowsShowsTheRowItMeasured) {
    const auto searched = [&](bool show70cm, bool show2m) {
        state.show70cm = show70cm;
        state.show2m = show2m;
        PressSearch();
        screen.OnTimer();
        const std::size_t row = RowOf("DB0DUP");
        if (row == 7) return std::string("not listed");
        screen.OnPress(ids::kRepeaterRows[row].stationInfo);
        StationInfoScreen info{context, dialog};
        info.Initialise();
        const std::vector<std::string>& record = dialog.lines[ids::kStationRecordList];
        return Km(row) + " | " + Info(row) + " | " + std::to_string(record.size()) + " " +
               (record.size() > 1 ? record[1] : "");
    };
    const std::string twoMetres =
        CodePageFromUtf8("0 km | 145.6000 \u22120.600 FM  JO31OM - Zweimal drei | 5    Zweimal drei");
    EXPECT_EQ(searched(true, true), twoMetres);
    EXPECT_EQ(searched(false, true), twoMetres);  // 70 cm hidden
    EXPECT_EQ(searched(true, false),  // 2 m hidden
              CodePageFromUtf8("0 km | 438.1000 \u22127.600 FM  JO31OM - Zweimal eins | 5    Zweimal eins"));
    EXPECT_EQ(searched(false, false), "not listed");
}

TEST_F(RepeaterScreenTest, AFoundCallItsLookupMissesLeavesNoDistanceBehind) {
    sqlite3* db = nullptr;  // a blob call: listed by the search, never equal to the lookup's text
    sqlite3_open((folder / "Moltrevane.sqlite").c_str(), &db);
    sqlite3_exec(db, "INSERT INTO repeater (call, loc) VALUES (CAST('DB0BLB' AS BLOB), 'JO31OM')", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
    PressSearch();
    const std::size_t missed = RowOf("no Call");
    ASSERT_LT(missed, 7u);
    EXPECT_EQ(Km(missed) + Info(missed), "");
}

// While the car moves, each row points the way to its station against the course; standing, or
// with the fix kept from an earlier second, the bearing again, and kept distances greyed.
TEST_F(RepeaterScreenTest, WhileTheCarMovesEachRowPointsItsWayAndALostFixGreysTheDistances) {
    state.portActive = true;
    state.gpsFix = PositionFromLocator("JO31OM");
    state.fixLive = true;
    TypeCall(0, "DB0NOR");  // 5 km north
    TypeCall(1, "DB0LONG8");  // Munich, far to the south-east
    const auto shown = [&](std::size_t row) {
        screen.OnTimer();
        const ids::RepeaterRowIds& ids = ids::kRepeaterRows[row];
        return dialog.utf8[ids.km] + " " + dialog.utf8[ids.grad] + (dialog.enabled[ids.km] && dialog.enabled[ids.grad] ? "" : " greyed");
    };
    const struct {
        GroundMotion motion;
        bool live;
        const char* north;
        const char* munich;
    } cases[] = {
        {{100, 0}, true, "5 km \u2191", "488 km \u2198"},
        {{100, 90}, true, "5 km \u2190", "488 km \u2197"},
        {{100, 180}, true, "5 km \u2193", "488 km \u2196"},
        {{100, 270}, true, "5 km \u2192", "488 km \u2199"},
        {{4, 90}, true, "5 km 360 \u00B0", "488 km 139 \u00B0"},  // standing
        {{100, std::nullopt}, true, "5 km 360 \u00B0", "488 km 139 \u00B0"},
        {{100, 90}, false, "5 km 360 \u00B0 greyed", "488 km 139 \u00B0 greyed"},
    };
    for (const auto& c : cases) {
        state.motion = c.motion;
        state.fixLive = c.live;
        EXPECT_EQ(shown(0), c.north) << c.motion.courseDeg.value_or(-1) << " " << c.live;
        EXPECT_EQ(shown(1), c.munich) << c.motion.courseDeg.value_or(-1) << " " << c.live;
    }
}

// Between searches the rows stay in order of their distance: a new order is shown at the next
// second, but not while a call is typed.
TEST_F(RepeaterScreenTest, TheRowsShowTheNewOrderAsTheCarMoves) {
    SetOffline("JO31ON");
    PressSearch();
    EXPECT_EQ(Call(0), "DB0NOR");
    SetOffline("JO31OL");
    KeepInDistanceOrder(context.rows, OwnPosition(state));  // as the main screen's cycle does
    screen.OnTimer();
    EXPECT_EQ(Call(0), "DB0" + std::string(21, 'X') + "-NORD");
    EXPECT_EQ(Info(0), "FM  JO31OL - Nordhang");
    const std::size_t nor = RowOf("DB0NOR");
    screen.OnPress(ids::kRepeaterRows[nor].newCall);
    EXPECT_EQ(context.rows.typing, nor);
    SetOffline("JO31ON");
    KeepInDistanceOrder(context.rows, OwnPosition(state));
    screen.OnTimer();
    EXPECT_EQ(RowOf("DB0NOR"), 7u) << "the typed row's entry is left as typed";
    EXPECT_EQ(Call(0), "DB0" + std::string(21, 'X') + "-NORD") << "the order waits";
    dialog.texts[ids::kRepeaterRows[nor].call] = "DB0LONG";
    screen.OnFocusLost(ids::kRepeaterRows[nor].call);
    EXPECT_FALSE(context.rows.typing);
}

TEST_F(RepeaterScreenTest, ReopenedScreenShowsTheKeptRowsAndOpensTheirRecords) {
    TypeCall(2, "DB0LONG8");
    testing::RecordingDialog reopened;
    RepeaterScreen again{context, reopened};
    again.Initialise();
    EXPECT_EQ(reopened.Text(ids::kRepeaterRows[2].call), "DB0LONG8");
    EXPECT_EQ(reopened.Text(ids::kRepeaterRows[2].info), "FM  JN58SD - Muenchen");
    again.OnTimer();
    EXPECT_NE(reopened.Text(ids::kRepeaterRows[2].km), "");

    again.OnPress(ids::kRepeaterRows[2].stationInfo);
    EXPECT_EQ(context.infoStation.call, "DB0LONG8");
    EXPECT_EQ(opener.opened, std::vector<ScreenKind>{ScreenKind::StationInfo});
    again.OnPress(ids::kRepeaterRows[3].stationInfo);  // empty row: nothing to show
    EXPECT_EQ(opener.opened.size(), 1u);

    StationInfoScreen info{context, reopened};
    info.Initialise();
    const std::vector<std::string>& lines = reopened.lines[ids::kStationRecordList];
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "DB0LONG8  -  JN58SD  -  520  -  FM");
}

}  // namespace
}  // namespace moltrevane
