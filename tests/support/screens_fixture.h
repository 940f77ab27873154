// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every screen's test stands on: a directory of a few stations, the state as without a
// settings file, the screens, and the recording stand-ins for the toolkit, the port, the links
// and speech.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "directory/index_loader.h"
#include "directory/station_directory.h"
#include "screens/about_screen.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"
#include "screens/driving_screen.h"
#include "screens/main_screen.h"
#include "screens/layout.h"
#include "screens/messages.h"
#include "screens/repeater_screen.h"
#include "screens/screen_context.h"
#include "screens/screen_scale.h"
#include "screens/station_info_screen.h"
#include "support/directory_fixture.h"
#include "support/eventually.h"
#include "support/fake_toolkit.h"
#include "support/fakes.h"
#include "support/golden.h"
#include "support/golden_table.h"
#include "support/temp_folder.h"

namespace moltrevane::testing {

inline constexpr std::string_view kFix = "$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,0.0,0.0,230394,,";
inline constexpr std::string_view kNoFix = "$GPRMC,123520.000,V,,,,,,,230394,,";

// What a screen showed, against the checked-in text tests/screens/golden/<name>.
inline void ExpectShown(const std::string& name, const std::string& shown) {
    ExpectGolden(MOLTREVANE_SOURCE_DIR "/tests/screens/golden/" + name, shown);
}

// A table of cases under tests/screens/golden/, its inputs' fields between '|': FieldsOf.
inline void ExpectCases(const std::string& name, const std::function<std::string(const std::vector<std::string>&)>& make) {
    ExpectTable("screens/golden/" + name, [&](std::istream& input) { return make(FieldsOf(input)); });
}

// Rectangles on the screen: over each other, and one inside another (or a margin beyond it).
inline bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
inline bool Inside(const PixelRect& a, const PixelRect& window, int margin = 0) {
    return a.x >= window.x - margin && a.y >= window.y - margin && a.x + a.width <= window.x + window.width + margin &&
           a.y + a.height <= window.y + window.height + margin;
}

// The stations of tests/screens/golden/<name>, a line each, its columns between '|'.
inline std::vector<Row> StationsOf(const std::string& name) {
    std::vector<Row> rows;
    std::istringstream lines(ReadFile(MOLTREVANE_SOURCE_DIR "/tests/screens/golden/" + name));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream columns(line);
        const std::vector<std::string> fields = FieldsOf(columns);
        rows.emplace_back(fields.begin(), fields.end());
    }
    return rows;
}

// The control of a layout with `id`, none if it has none.
inline const ControlSpec* Find(std::span<const ControlSpec> controls, int id) {
    const auto found = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec& c) { return c.id == id; });
    return found == controls.end() ? nullptr : &*found;
}

// A screen opened on a dialog of its own, beside the one a test's screen stands on.
template <class ScreenType> struct Opened {
    explicit Opened(ScreenContext& context) : screen{context, dialog} { screen.Initialise(); }
    RecordingDialog dialog;
    ScreenType screen;
};

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDirectory(folder / "Moltrevane.sqlite", StationsOf("stations.txt"));
        for (const FilterFlag& flag : kFilterFlags) state.*flag.field = true;  // as without a settings file
    }

    void Feed(std::string_view sentence) {
        for (char c : sentence) FeedByte(state.nmea, static_cast<unsigned char>(c));
        FeedByte(state.nmea, '\r');
        FeedByte(state.nmea, '\n');
    }
    void SetOffline(std::string_view locator) { state.offlineLocator = ToLocatorText(locator); }
    // "Search Stn.", and the seconds it takes the index to read the directory: the first row says so meanwhile.
    void Search(RepeaterScreen& screen) {
        screen.OnPress(ids::kSearchStation);
        ASSERT_TRUE(Eventually([&] {
            if (!screen.SearchWaits()) return true;
            EXPECT_EQ(dialog.Text(ids::kRepeaterRows[0].call), "   loading");
            screen.OnTimer();
            return false;
        }, std::chrono::seconds(30)));
    }
    // The main screen's seconds until the list, following the car, is first searched.
    void CycleUntilSearched(MainScreen& screen) {
        ASSERT_TRUE(Eventually([&] {
            screen.RunCycle();  // while the index reads the directory
            return context.rows.searches >= 1;
        }, std::chrono::seconds(30)));
    }
    // The repeater screen's row that shows `call`, 7 if none does.
    std::size_t RowOf(std::string_view call) {
        std::size_t row = 0;
        while (row < 7 && dialog.Text(ids::kRepeaterRows[row].call) != call) ++row;
        return row;
    }
    bool HasLine(const std::string& file, std::string_view line) { return ReadFile(folder / file).find(line) != std::string::npos; }

    TempFolder folder;
    AppState state;
    RecordingGpsSource port;
    RecordingMessages messages;
    StationDirectory directory{folder / "Moltrevane.sqlite"};
    RecordingOpener opener;
    RecordingLinks links;
    RecordingRadio radio;
    IndexLoader stationIndex{folder / "Moltrevane.sqlite"};
    RecordingAnnouncer announcer;
    ScreenContext context{state, port, messages, directory, opener, links, radio, stationIndex, announcer, folder / "Moltrevane.cfg"};
    RecordingDialog dialog;
};

}  // namespace moltrevane::testing
