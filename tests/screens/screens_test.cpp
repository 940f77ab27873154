#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "settings/settings.h"
#include "directory/index_loader.h"
#include "directory/station_directory.h"
#include "support/directory_fixture.h"
#include "geo/sun.h"
#include "support/fake_toolkit.h"
#include "support/fakes.h"
#include "screens/about_screen.h"
#include "screens/code_page.h"
#include "screens/driving_screen.h"
#include "screens/control_ids.h"
#include "screens/links_screen.h"
#include "screens/main_screen.h"
#include "screens/repeater_screen.h"
#include "screens/settings_screen.h"
#include "screens/station_info_screen.h"

namespace moltrevane {
namespace {

using testing::ReadFile;
using testing::Row;
using testing::WriteFile;

constexpr std::string_view kFix = "$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,0.0,0.0,230394,,";
constexpr std::string_view kNoFix = "$GPRMC,123520.000,V,,,,,,,230394,,";

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteDirectory(folder / "Moltrevane.sqlite",
                                {
                                    Row{"DB0ABC", "JO31OM", "100", "FM", "Dortmund", "439.100", "431.500"},
                                    Row{"DB0NOR", "JO31ON", "200", "FM", "Nordwald"},
                                    Row{"DB0LONG8", "JN58SD", "520", "FM", "Muenchen"},
                                    Row{"DB0LONG", "JN58SE", "1", "FM", "Kurz"},
                                    Row{"DB0" + std::string(21, 'X') + "-NORD", "JO31OL", "1", "FM", "Nordhang"},
                                    Row{"DB0" + std::string(21, 'X') + "-SUED", "JN58TE", "1", "FM", "Suedhang"},
                                    Row{"DB0DUP", "JO31PM", "1", "FM", "Zweimal zwei", "439.100", "431.500"},
                                    Row{"DB0DUP", "JO31OM", "1", "FM", "Zweimal eins", "438.100", "430.500"},
                                    Row{"DB0DUP", "JO31OM", "1", "FM", "Zweimal drei", "145.600", "145.000"},
                                    Row{"D\u00D60ABC", "JO31OM", "1", "FM", "K\u00F6ln"},
                                    Row{"DB0BAK", "JO31OK", "1", "Bake", "Turm", "432.450"},
                                });
        for (const FilterFlag& flag : kFilterFlags) state.*flag.field = true;  // as without a settings file
    }

    void Feed(std::string_view sentence) {
        for (char c : sentence) FeedByte(state.nmea, static_cast<unsigned char>(c));
        FeedByte(state.nmea, '\r');
        FeedByte(state.nmea, '\n');
    }
    void SetOffline(std::string_view locator) { state.offlineLocator = ToLocatorText(locator); }

    testing::TempFolder folder;
    AppState state;
    testing::RecordingGpsSource port{state};
    testing::RecordingMessages messages;
    StationDirectory directory{folder / "Moltrevane.sqlite"};
    testing::RecordingOpener opener;
    testing::RecordingLinks links;
    IndexLoader stationIndex{folder / "Moltrevane.sqlite"};
    testing::RecordingAnnouncer announcer;
    ScreenContext context{state, port, messages, directory, opener, links, stationIndex, announcer, folder / "Moltrevane.cfg"};
    testing::RecordingDialog dialog;
};

// ---- Main screen ------------------------------------------------------------------

class MainScreenTest : public ScreensTest {
protected:
    MainScreen screen{context, dialog};
    std::vector<std::string> Painted(LayoutShape shape = LayoutShape::Design) {
        testing::RecordingPainter painter;
        screen.Paint(painter, shape);
        return painter.calls;
    }
};

// With follow on, the rows fill without a tap at the first position and again after the chosen
// stretch; what changed is told, ten seconds apart at least, the newest first.
TEST_F(MainScreenTest, TheListFollowsWithoutATapAndTheDriverIsTold) {
    screen.Initialise();
    SetOffline("JO31OM");
    state.drive = {5, AlertMode::Speech, 6};
    const auto cycleUntilSearched = [&](int searches) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        screen.RunCycle();
        while (context.rows.searches < searches && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            screen.RunCycle();  // while the index reads the directory
        }
        return context.rows.searches;
    };
    ASSERT_EQ(cycleUntilSearched(1), 1);
    EXPECT_EQ(context.rows.rowStation[0].call, "DB0ABC");
    ASSERT_EQ(announcer.started.size(), 1u);
    EXPECT_EQ(announcer.started[0], std::pair(AlertMode::Speech, std::string("Nearest D B zero A B C, 439.1 minus 7.6, 0 kilometres")));

    SetOffline("JO31ON");  // 4.6 km north: not yet
    screen.RunCycle();
    EXPECT_EQ(context.rows.searches, 1);
    SetOffline("JO31OO");  // 9.3 km
    screen.RunCycle();
    EXPECT_EQ(context.rows.searches, 2);
    EXPECT_EQ(context.rows.rowStation[0].call, "DB0NOR");
    for (int second = 0; second < 9 && announcer.started.size() == 1; ++second) screen.RunCycle();
    ASSERT_EQ(announcer.started.size(), 2u) << "ten seconds after the first";
    // DB0NOR became the nearest at JO31ON; the newer square was said instead.
    EXPECT_EQ(announcer.started[1].second, "Now in J O three one O O");

    state.showRepeaterFm = false;  // the filters changed: searched again where the car is
    screen.RunCycle();
    EXPECT_EQ(context.rows.searches, 3);
    state.drive.alert = AlertMode::Off;
    for (int second = 0; second < 20; ++second) screen.RunCycle();
    EXPECT_EQ(announcer.started.size(), 2u);
}

TEST_F(MainScreenTest, GpsFixShowsPositionLocatorAndMap) {
    state.portActive = true;
    Feed(kFix);
    screen.RunCycle();
    EXPECT_EQ(dialog.Text(ids::kSentence), kFix);
    EXPECT_EQ(dialog.Text(ids::kUtc), "edge 0.2 km S");  // the subsquare's edge; the time is drawn
    EXPECT_EQ(dialog.Text(ids::kLatitude), "5130.1234");
    EXPECT_EQ(dialog.Text(ids::kNorthSouth), "N");
    EXPECT_EQ(dialog.Text(ids::kEastWest), "E");
    EXPECT_EQ(LocatorView(state.currentLocator), "JO31OM");
    EXPECT_TRUE(dialog.enabled[ids::kLatitude]);
    const std::vector<std::string> expected = {
        "ink live", "text 40 27 12:35:19", "ink live", "text 130 77 JO31OM", "fill 10 140 220 106",
        "rectangle 20 143 220 243", "line 110 237 117 237", "line 113 234 113 241"};
    EXPECT_EQ(Painted(), expected);
    EXPECT_EQ(Painted(), expected);  // a repaint draws the same again
    // Wide: larger text, and the map beside the fields with the cross at the same place in it.
    EXPECT_EQ(Painted(LayoutShape::Wide),
              (std::vector<std::string>{"ink live", "text 42 31 x1.5 12:35:19", "ink live", "text 5 142 x1.5 JO31OM",
                                        "fill 226 90 220 106", "rectangle 236 93 436 193", "line 326 187 333 187",
                                        "line 329 184 329 191"}));
}

TEST_F(MainScreenTest, VoidAfterAFixKeepsLocatorAndMap) {
    state.portActive = true;
    Feed(kFix);
    screen.RunCycle();
    Feed(kNoFix);
    screen.RunCycle();
    EXPECT_EQ(dialog.Text(ids::kUtc), "Bad GPS-Signal");
    // The kept position is greyed out: it must never look live.
    EXPECT_EQ(Painted(), (std::vector<std::string>{"ink live", "text 40 27 12:35:20", "ink stale", "text 130 77 JO31OM",
                                                   "fill 10 140 220 106", "rectangle 20 143 220 243",
                                                   "line 110 237 117 237", "line 113 234 113 241"}));
    EXPECT_FALSE(dialog.enabled[ids::kLatitude]);
    EXPECT_EQ(dialog.Text(ids::kLatitude), "5130.1234");

    screen.RunCycle();  // no sentence this second
    EXPECT_EQ(dialog.Text(ids::kUtc), "No GPS Signal");
    const std::vector<std::string> kept = Painted();
    ASSERT_GE(kept.size(), 3u);
    EXPECT_EQ(kept[1] + ", " + kept[2], "ink stale, text 130 77 JO31OM");  // no time drawn

    Feed(kFix);
    screen.RunCycle();
    EXPECT_EQ(Painted()[2], "ink live");
    EXPECT_TRUE(dialog.enabled[ids::kLatitude]);
}

TEST_F(MainScreenTest, OfflineDrawsTheOfflineLocatorWithoutMap) {
    state.currentLocator = ToLocatorText("JO31OM");  // from GPS mode before
    SetOffline("ERROR");
    screen.RunCycle();
    EXPECT_EQ(LocatorView(state.currentLocator), "");
    EXPECT_EQ(Painted(), (std::vector<std::string>{"ink live", "ink offline", "text 130 77 ERROR", "fill 10 140 220 106"}));
    EXPECT_EQ(dialog.Text(ids::kLocatorLabel), "Locator offline");
    EXPECT_EQ(dialog.redraws, 1);
}

TEST_F(MainScreenTest, TargetResultsFollowTheTypedLocatorAndNeedAnOwnPosition) {
    const auto measured = [&](std::string_view target) {
        dialog.texts[ids::kTarget] = target;
        screen.RunCycle();
        return dialog.Text(ids::kDistance) + " | " + dialog.Text(ids::kBearing);
    };
    SetOffline("JO31OM");
    EXPECT_EQ(measured("JO31ON"), "5 km | 360 \xB0");
    EXPECT_EQ(measured("JO31OM"), "0 km | ");  // the own square
    EXPECT_EQ(measured("JO31O"), " | ");
    for (const char* offline : {"", "ERROR"}) {
        SetOffline(offline);
        EXPECT_EQ(measured("JO62QM"), " | ") << offline;
    }
    state.portActive = true;  // no fix yet: 0° N 0° E is no position
    EXPECT_EQ(measured("JO62QM"), " | ");
}

TEST_F(MainScreenTest, ShutDownClosesThePortThenWritesTheTypedTarget) {
    screen.Initialise();
    dialog.texts[ids::kTarget] = "JN58SD";
    bool savedBeforeClose = true;
    port.onClose = [&] { savedBeforeClose = std::filesystem::exists(folder / "Moltrevane.cfg"); };
    EXPECT_EQ(screen.ShutDown(), "");
    EXPECT_FALSE(savedBeforeClose);
    EXPECT_FALSE(dialog.timerRunning);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(ReadFile(folder / "Moltrevane.cfg"),
              std::string("230-") + std::string(6, '\0') + "-JN58SD-11111-1111101");
}

TEST_F(MainScreenTest, APortThatCouldNotBeOpenedIsSaidAtTheNextCycleOnce) {
    screen.Initialise();
    port.failure = "Unable to open the port\n/dev/ttyUSB0: no such device";
    screen.RunCycle();
    screen.RunCycle();
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Error", "Unable to open the port\n/dev/ttyUSB0: no such device"}}));
}

TEST_F(MainScreenTest, AFailedSaveIsSaid) {
    std::filesystem::create_directory(folder / "Moltrevane.cfg");  // a file the program must not replace
    std::filesystem::create_directory(folder / "Moltrevane.ini");
    screen.Initialise();
    EXPECT_EQ(screen.ShutDown(), "Unable to save the settings\n" + (folder / "Moltrevane.cfg").string() + ": not a plain file");
    testing::RecordingDialog info;
    AboutScreen about{context, info};
    about.Initialise();
    info.Select(ids::kPaletteChoice, 2);
    about.OnClose();
    testing::RecordingDialog drivingDialog;
    DrivingScreen driving{context, drivingDialog};
    driving.Initialise();
    drivingDialog.Select(ids::kFollowChoice, 2);
    driving.OnClose();
    const std::string failure = "\n" + (folder / "Moltrevane.ini").string() + ": too large, or not a plain file";
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Error", "Unable to save the colours" + failure},
                                  {"Error", "Unable to save the driving settings" + failure}}));
}

TEST_F(MainScreenTest, TheSunAtTheFixChoosesTheNightPalette) {
    state.portActive = true;
    screen.Initialise();  // no palette file: Auto
    EXPECT_FALSE(dialog.night);
    Feed("$GPRMC,220000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,");  // December, 22:00 UTC
    screen.RunCycle();
    EXPECT_TRUE(dialog.night);
    Feed("$GPRMC,120000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,");
    screen.RunCycle();
    EXPECT_FALSE(dialog.night);
}

// In Auto a start opens in the colours of the offline locator's day or night: offline, and in
// GPS mode until the first fix.
TEST_F(MainScreenTest, AutoStartsInTheOfflineLocatorsNightOrDay) {
    const std::int64_t now = std::time(nullptr);
    const auto elevation = [&](const char* locator) {
        const GeoPoint place = PositionFromLocator(locator);
        return SunElevationDeg(place.latitude, place.longitude, now);
    };
    std::vector<const char*> equator = {"AJ05AA", "EJ05AA", "IJ05AA", "MJ05AA", "QJ05AA"};  // 80° apart
    std::sort(equator.begin(), equator.end(), [&](auto a, auto b) { return elevation(a) < elevation(b); });
    for (const bool gps : {false, true}) {
        for (const char* locator : {equator.front(), equator.back()}) {
            const bool night = locator == equator.front();
            SetOffline(locator);
            state.portActive = gps;
            ASSERT_TRUE(saveSettings(state, "", context.settingsFile));
            dialog.night = !night;
            screen.Initialise();
            EXPECT_EQ(dialog.night, night) << locator << " gps " << gps;
            screen.RunCycle();  // no fix yet
            EXPECT_EQ(dialog.night, night) << locator << " gps " << gps;
        }
    }
}

// Night from civil dusk on: at Munich on 21 December 2024 the sun is 0.8° below the horizon at
// 15:22 UTC, 7.6° at 16:10.
TEST(NightPalette, BeginsSixDegreesBelowTheHorizon) {
    const GeoPoint munich{48.1372, 11.5755};
    const std::int64_t sunset = 1734794520, dusk = 1734797400;
    EXPECT_NEAR(SunElevationDeg(munich.latitude, munich.longitude, sunset), -0.8, 0.1);
    EXPECT_NEAR(SunElevationDeg(munich.latitude, munich.longitude, dusk), -7.6, 0.1);
    EXPECT_FALSE(NightWanted(PaletteChoice::Auto, munich, sunset));
    EXPECT_TRUE(NightWanted(PaletteChoice::Auto, munich, dusk));
}

TEST_F(MainScreenTest, AChosenPaletteIsKeptInTheIniFileAndWinsOverTheSun) {
    testing::RecordingDialog info;
    AboutScreen about{context, info};
    about.Initialise();
    EXPECT_EQ(info.Selection(ids::kPaletteChoice), 0);  // Auto
    info.Select(ids::kPaletteChoice, 2);
    about.OnClose();
    EXPECT_NE(ReadFile(folder / "Moltrevane.ini").find("palette = night\n"), std::string::npos);
    state.palette = PaletteChoice::Auto;
    screen.Initialise();
    EXPECT_EQ(state.palette, PaletteChoice::Night);
    state.portActive = true;
    Feed("$GPRMC,120000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,");  // noon
    screen.RunCycle();
    EXPECT_TRUE(dialog.night);
    EXPECT_FALSE(std::filesystem::exists(folder / "Moltrevane.cfg"));  // not in the settings record
}

// Nothing without a position; then the fix's locator, or in offline mode a valid offline one.
TEST_F(MainScreenTest, EachCycleHandsTheOwnLocatorToTheLinks) {
    state.links.wsjtx = true;
    const auto lastLocator = [&] { return links.published.back().second; };
    state.portActive = true;
    screen.RunCycle();
    EXPECT_EQ(lastLocator(), std::nullopt);
    Feed(kFix);
    screen.RunCycle();
    EXPECT_EQ(lastLocator(), ToLocatorText("JO31OM"));
    EXPECT_TRUE(links.published.back().first.wsjtx);
    state.portActive = false;
    SetOffline("ERROR");
    screen.RunCycle();
    EXPECT_EQ(lastLocator(), std::nullopt);
    SetOffline("JN58SD");
    screen.RunCycle();
    EXPECT_EQ(lastLocator(), ToLocatorText("JN58SD"));
}

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

// ---- Settings screen --------------------------------------------------------------

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
    dialog.Select(ids::kFollowChoice, 2);
    dialog.Select(ids::kAlertChoice, 2);
    dialog.Select(ids::kLocatorChoice, 2);
    driving.OnClose();
    EXPECT_EQ(state.drive, (DriveSettings{5, AlertMode::Speech, 10}));
    const std::string ini = testing::ReadFile(folder / "Moltrevane.ini");
    for (const char* line : {"follow = 5\n", "alert = speech\n", "locator = 10\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
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
    EXPECT_EQ(Info(RowOf("DB0ABC")), CodePageFromUtf8("439.100 \u22127.600 FM  JO31OM - Dortmund"));
    ASSERT_LT(RowOf("DB0BAK"), 7u);
    EXPECT_EQ(Info(RowOf("DB0BAK")), "432.450 Bake  JO31OK - Turm");
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
        CodePageFromUtf8("0 km | 145.600 \u22120.600 FM  JO31OM - Zweimal drei | 5    Zweimal drei");
    EXPECT_EQ(searched(true, true), twoMetres);
    EXPECT_EQ(searched(false, true), twoMetres);  // 70 cm hidden
    EXPECT_EQ(searched(true, false),  // 2 m hidden
              CodePageFromUtf8("0 km | 438.100 \u22127.600 FM  JO31OM - Zweimal eins | 5    Zweimal eins"));
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

// ---- Code page --------------------------------------------------------------------

TEST(CodePage, RoundTripsEveryByteThroughUtf8) {
    EXPECT_EQ(Utf8FromCodePage("15 \xB0"), "15 \u00B0");
    EXPECT_EQ(Utf8FromCodePage("\x80"), "\u20AC");
    EXPECT_EQ(CodePageFromUtf8("\u00DCberlingen \u20AC"), "\xDC" "berlingen \x80");
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(CodePageFromUtf8(Utf8FromCodePage(byte)), byte) << b;
    }
    // Beyond the code page: a question mark, never another letter or a control byte.
    EXPECT_EQ(CodePageFromUtf8("\u0141\u00F3d\u017A \u2212 \u0080\xF0\x9F\x93\xA1"), "?\xF3" "d? ? ??");
    EXPECT_EQ(CodePageFromUtf8("a\xE2\x82"), "a\xE2\x82");      // a cut sequence stays as bytes
}

}  // namespace
}  // namespace moltrevane
