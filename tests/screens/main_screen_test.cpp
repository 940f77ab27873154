#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "geo/sun.h"
#include "settings/settings.h"
#include "screens/about_screen.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"
#include "screens/driving_screen.h"
#include "screens/main_screen.h"
#include "screens/repeater_screen.h"

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::kFix;
using testing::kNoFix;
using testing::ReadFile;
using testing::Row;
using testing::ScreensTest;
using testing::WriteFile;

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
    state.drive = {5, AlertMode::Speech, 6, {}};
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
    ASSERT_TRUE(context.rows.rows[0]);
    EXPECT_EQ(context.rows.rows[0]->key.call, "DB0ABC");
    ASSERT_EQ(announcer.started.size(), 1u);
    EXPECT_EQ(announcer.started[0].first, AlertMode::Speech);
    EXPECT_EQ(announcer.started[0].second,
              (Announcement{{AlertKind::Nearest},
                            "Nearest Delta Bravo Zero Alpha Bravo Charlie, four three nine point one minus seven point six, FM, "
                            "tone one two seven point three, 0 kilometres"}));

    SetOffline("JO31ON");  // 4.6 km north: not yet
    screen.RunCycle();
    EXPECT_EQ(context.rows.searches, 1);
    SetOffline("JO31OO");  // 9.3 km
    screen.RunCycle();
    EXPECT_EQ(context.rows.searches, 2);
    ASSERT_TRUE(context.rows.rows[0]);
    EXPECT_EQ(context.rows.rows[0]->key.call, "DB0NOR");
    for (int second = 0; second < 9 && announcer.started.size() == 1; ++second) screen.RunCycle();
    ASSERT_EQ(announcer.started.size(), 2u) << "ten seconds after the first";
    // DB0NOR became the nearest at JO31ON; the newer square was said instead.
    EXPECT_EQ(announcer.started[1].second.text, "Now in Juliet Oscar Three One Oscar Oscar");

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
    // Wide: larger text, and beside the fields the picture of the stations around: none listed
    // yet, the car standing (north up) at the middle of one ring.
    EXPECT_EQ(Painted(LayoutShape::Wide),
              (std::vector<std::string>{"ink live", "text 42 31 x1.5 12:35:19", "ink live", "text 5 142 x1.5 JO31OM",
                                        "fill 226 34 220 210", "ink faint", "ring 336 139 91", "text 402 201 x0.5 1 km",
                                        "ink live", "text 333 33 x0.7 N", "ring 336 139 5", "dot 336 139 1"}));
    // A tap on the drawing shows the other: in the wide layout the map, with the cross at the
    // same place in it; in the design's the picture.
    screen.OnPress(ids::kPictureButton);
    EXPECT_EQ(Painted(LayoutShape::Wide),
              (std::vector<std::string>{"ink live", "text 42 31 x1.5 12:35:19", "ink live", "text 5 142 x1.5 JO31OM",
                                        "fill 226 90 220 106", "rectangle 236 93 436 193", "line 326 187 333 187",
                                        "line 329 184 329 191"}));
    EXPECT_EQ(Painted()[4], "fill 10 140 220 106");
    EXPECT_EQ(Painted()[5], "ink faint");
    screen.OnPress(ids::kPictureButton);
    EXPECT_EQ(Painted(), expected);
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

TEST_F(MainScreenTest, TheKeptPortIsReadFromTheStartAndShutDownClosesItThenWritesTheTypedTarget) {
    WriteFile(folder / "Moltrevane.cfg", "341-JN58SD-JO62QM-00000-0000000");
    screen.Initialise();
    EXPECT_EQ(port.opens, (std::vector<testing::RecordingGpsSource::Open>{{"COM3:", 9600, WhenAbsent::Wait}}));
    EXPECT_EQ(dialog.Text(ids::kTarget), "JO62QM");
    dialog.texts[ids::kTarget] = "JN58SD";
    bool savedBeforeClose = true;
    port.onClose = [&] { savedBeforeClose = ReadFile(folder / "Moltrevane.cfg") != "341-JN58SD-JO62QM-00000-0000000"; };
    EXPECT_EQ(screen.ShutDown(), "");
    EXPECT_FALSE(savedBeforeClose);
    EXPECT_FALSE(dialog.timerRunning);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(ReadFile(folder / "Moltrevane.cfg"), "341-JN58SD-JN58SD-00000-0000000");
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

}  // namespace
}  // namespace moltrevane
