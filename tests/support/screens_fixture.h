// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every screen's test stands on: a directory of a few stations, the state as without a
// settings file, the screens, and the recording stand-ins for the toolkit, the port, the links
// and speech.

#include <gtest/gtest.h>

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
#include "screens/messages.h"
#include "screens/repeater_screen.h"
#include "screens/screen_context.h"
#include "screens/station_info_screen.h"
#include "support/directory_fixture.h"
#include "support/eventually.h"
#include "support/fake_toolkit.h"
#include "support/fakes.h"
#include "support/golden.h"
#include "support/temp_folder.h"

namespace moltrevane::testing {

inline constexpr std::string_view kFix = "$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,0.0,0.0,230394,,";
inline constexpr std::string_view kNoFix = "$GPRMC,123520.000,V,,,,,,,230394,,";

// What a screen showed, against the checked-in text tests/screens/golden/<name>.
inline void ExpectShown(const std::string& name, const std::string& shown) {
    ExpectGolden(MOLTREVANE_SOURCE_DIR "/tests/screens/golden/" + name, shown);
}

// The rows of a table under tests/screens/golden/, its fields between '|'; lines of '#' left out.
inline std::vector<std::vector<std::string>> TableOf(const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadFile(MOLTREVANE_SOURCE_DIR "/tests/screens/golden/" + name));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back();
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1)
            rows.back().push_back(line.substr(at, (bar = line.find('|', at)) - at));
    }
    return rows;
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDirectory(folder / "Moltrevane.sqlite",
                       {
                           Row{"DB0ABC", "JO31OM", "100", "FM", "Dortmund", "439.100", "431.500", "", "127.3"},
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
