// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ctime>

#include "geo/sun.h"
#include "settings/settings.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

using testing::ReadFile;

class MainScreenTest : public testing::ScreensTest {
protected:
    MainScreen screen{context, dialog};
    // The drawing's calls, one a line.
    std::string Painted(LayoutShape shape = LayoutShape::Design) {
        testing::RecordingPainter painter;
        screen.Paint(painter, shape);
        std::string lines;
        for (const std::string& call : painter.calls) lines += "  " + call + "\n";
        return lines;
    }
    // A second's cycle: the fields, greyed in brackets, how often the window was redrawn, then the drawing.
    std::string Cycle(const char* when, std::string_view sentence = "") {
        if (!sentence.empty()) Feed(sentence);
        screen.RunCycle();
        std::string shown = std::string("# ") + when + "\n";
        for (const int id : {ids::kUtc, ids::kSentence, ids::kLatitude, ids::kNorthSouth, ids::kLongitude, ids::kEastWest, ids::kLocatorLabel})
            shown += dialog.enabled.count(id) == 0 || dialog.enabled[id] ? dialog.Text(id) + " | " : "(" + dialog.Text(id) + ") | ";
        return shown + "redrawn " + std::to_string(std::exchange(dialog.redraws, 0)) + "\n" + Painted();
    }
};

// With follow on, the rows fill without a tap at the first position and again after the chosen
// stretch; what changed is told, ten seconds apart at least, the newest first.
TEST_F(MainScreenTest, TheListFollowsWithoutATapAndTheDriverIsTold) {
    screen.Initialise();
    SetOffline("JO31OM");
    state.drive = {5, AlertMode::Speech, 6, {}};
    CycleUntilSearched(screen);
    EXPECT_EQ(context.rows.searches, 1);
    EXPECT_EQ(context.rows.rows[0] ? context.rows.rows[0]->key.call : "none", "DB0ABC");
    EXPECT_EQ(announcer.started, (std::vector<std::pair<AlertMode, Announcement>>{
                                     {AlertMode::Speech, {{AlertKind::Nearest},
                                                          "Nearest Delta Bravo Zero Alpha Bravo Charlie, four three nine point one minus "
                                                          "seven point six, FM, tone one two seven point three, 0 kilometres"}}}));
    for (const auto& [locator, searches] : {std::pair{"JO31ON", 1}, {"JO31OO", 2}}) {  // 4.6 km north: not yet; 9.3 km
        SetOffline(locator);
        screen.RunCycle();
        EXPECT_EQ(context.rows.searches, searches) << locator;
    }
    EXPECT_EQ(context.rows.rows[0] ? context.rows.rows[0]->key.call : "none", "DB0NOR");
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

// A fix, in the design's shape and the wide one (larger text, and beside the fields the picture
// of the stations around, or the map after a tap on it); the fix void, then no sentence at all,
// then back: the kept position greyed, never looking live. Offline at an invalid locator the
// fix's locator is gone and no map drawn.
TEST_F(MainScreenTest, WhatTheMainScreenShowsOfAFixAndItsLoss) {
    state.portActive = true;
    std::string shown = Cycle("a fix", testing::kFix);
    EXPECT_EQ(LocatorView(state.currentLocator), "JO31OM");
    EXPECT_EQ(Painted(), Painted()) << "a repaint draws the same again";
    shown += "# wide\n" + Painted(LayoutShape::Wide);
    screen.OnPress(ids::kPictureButton);
    shown += "# tapped, wide\n" + Painted(LayoutShape::Wide) + "# tapped\n" + Painted();
    screen.OnPress(ids::kPictureButton);
    shown += Cycle("void", testing::kNoFix);  // a statement each: of a + b, the compiler picks which runs first
    shown += Cycle("no sentence");
    shown += Cycle("the fix back", testing::kFix);
    state.portActive = false;
    SetOffline("ERROR");
    shown += Cycle("offline at ERROR");
    EXPECT_EQ(LocatorView(state.currentLocator), "");
    testing::ExpectShown("main-screen.expected", shown);
}

// tests/screens/golden/target-results.txt: the typed target measured from the own position,
// and without one the reason why it is not.
TEST_F(MainScreenTest, TargetResultsFollowTheTypedLocatorAndNeedAnOwnPosition) {
    testing::ExpectCases("target-results.txt", [&](const std::vector<std::string>& c) {
        SetOffline(c.at(0));
        state.portActive = c[0] == "GPS";
        dialog.texts[ids::kTarget] = c.at(1);
        screen.RunCycle();
        const std::string sentence = dialog.Text(ids::kSentence);
        return Utf8FromCodePage(dialog.Text(ids::kDistance) + " | " + dialog.Text(ids::kBearing) + " |" + (sentence.empty() ? "" : " " + sentence));
    });
}

TEST_F(MainScreenTest, TheKeptPortIsReadFromTheStartAndShutDownClosesItThenWritesTheTypedTarget) {
    testing::WriteFile(folder / "Moltrevane.cfg", "341-JN58SD-JO62QM-00000-0000000");
    screen.Initialise();
    EXPECT_EQ(port.opens, (std::vector<testing::RecordingGpsSource::Open>{{"COM3:", 9600, WhenAbsent::Wait}}));
    EXPECT_EQ(dialog.Text(ids::kTarget), "JO62QM");
    dialog.texts[ids::kTarget] = "JN58SD";
    bool savedBeforeClose = true;
    port.onClose = [&] { savedBeforeClose = ReadFile(folder / "Moltrevane.cfg") != "341-JN58SD-JO62QM-00000-0000000"; };
    EXPECT_EQ(screen.ShutDown(), "");
    EXPECT_FALSE(savedBeforeClose || dialog.timerRunning);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(ReadFile(folder / "Moltrevane.cfg"), "341-JN58SD-JN58SD-00000-0000000");
}

// A port that could not be opened is said at the next cycle, once; a failed save each time.
TEST_F(MainScreenTest, EachFailureIsSaid) {
    std::filesystem::create_directory(folder / "Moltrevane.cfg");  // a file the program must not replace
    std::filesystem::create_directory(folder / "Moltrevane.ini");
    screen.Initialise();
    port.failure = "Unable to open the port\n/dev/ttyUSB0: no such device";
    screen.RunCycle();
    screen.RunCycle();
    EXPECT_EQ(screen.ShutDown(), "Unable to save the settings\n" + (folder / "Moltrevane.cfg").string() + ": not a plain file");
    testing::Opened<AboutScreen> about{context};
    about.dialog.Select(ids::kPaletteChoice, 2);
    about.screen.OnClose();
    testing::Opened<DrivingScreen> driving{context};
    driving.dialog.Select(ids::kFollowChoice, 2);
    driving.screen.OnClose();
    const std::string failure = "\n" + (folder / "Moltrevane.ini").string() + ": not a plain file";
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Error", "Unable to open the port\n/dev/ttyUSB0: no such device"},
                                  {"Error", "Unable to save the colours" + failure},
                                  {"Error", "Unable to save the driving settings" + failure}}));
}

TEST_F(MainScreenTest, TheSunAtTheFixChoosesTheNightPalette) {
    state.portActive = true;
    screen.Initialise();  // no palette file: Auto
    EXPECT_FALSE(dialog.night);
    // While the fix is lost the receiver's last time goes on, whatever the machine's clock says.
    for (const bool night : {true, false, true}) {
        Feed(night ? "$GPRMC,220000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,"  // December, 22:00 UTC
                   : "$GPRMC,120000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,");
        screen.RunCycle();
        EXPECT_EQ(dialog.night, night);
        Feed("$GPRMC,,V,,,,,,,,,");
        screen.RunCycle();
        screen.RunCycle();  // nothing at all
        EXPECT_EQ(dialog.night, night) << "the fix lost";
    }
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
// 15:22 UTC, 7.6° at 16:10 (the sun's elevation itself is tests/geo's).
TEST(NightPalette, BeginsSixDegreesBelowTheHorizon) {
    const GeoPoint munich{48.1372, 11.5755};
    const std::int64_t sunset = 1734794520, dusk = 1734797400;
    EXPECT_FALSE(NightWanted(PaletteChoice::Auto, munich, sunset));
    EXPECT_TRUE(NightWanted(PaletteChoice::Auto, munich, dusk));
}

TEST_F(MainScreenTest, AChosenPaletteIsKeptInTheIniFileAndWinsOverTheSun) {
    testing::Opened<AboutScreen> about{context};
    EXPECT_EQ(about.dialog.Selection(ids::kPaletteChoice), 0);  // Auto
    about.dialog.Select(ids::kPaletteChoice, 2);
    about.screen.OnClose();
    EXPECT_TRUE(HasLine("Moltrevane.ini", "palette = night\n"));
    state.palette = PaletteChoice::Auto;
    screen.Initialise();
    EXPECT_EQ(state.palette, PaletteChoice::Night);
    state.portActive = true;
    Feed("$GPRMC,120000.00,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,");  // noon
    screen.RunCycle();
    EXPECT_TRUE(dialog.night);
    EXPECT_FALSE(std::filesystem::exists(folder / "Moltrevane.cfg"));  // not in the settings record
}

// tests/screens/golden/links-locator.txt: what each cycle hands the links as the own locator.
TEST_F(MainScreenTest, EachCycleHandsTheOwnLocatorToTheLinks) {
    state.links.wsjtx = true;
    testing::ExpectCases("links-locator.txt", [&](const std::vector<std::string>& c) {
        state.portActive = c.at(0) == "GPS";
        SetOffline(c.at(1));
        if (c.at(2) == "fix") Feed(testing::kFix);
        screen.RunCycle();
        EXPECT_TRUE(links.published.back().first.wsjtx);
        return links.published.back().second ? std::string(LocatorView(*links.published.back().second)) : "none";
    });
}

}  // namespace
}  // namespace moltrevane
