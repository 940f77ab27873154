#pragma once
// What every screen's test stands on: a directory of a few stations, the state as without a
// settings file, and the recording stand-ins for the toolkit, the port, the links and speech.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "directory/index_loader.h"
#include "directory/station_directory.h"
#include "screens/screen_context.h"
#include "support/directory_fixture.h"
#include "support/fake_toolkit.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace moltrevane::testing {

inline constexpr std::string_view kFix = "$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,0.0,0.0,230394,,";
inline constexpr std::string_view kNoFix = "$GPRMC,123520.000,V,,,,,,,230394,,";

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

    TempFolder folder;
    AppState state;
    RecordingGpsSource port;
    RecordingMessages messages;
    StationDirectory directory{folder / "Moltrevane.sqlite"};
    RecordingOpener opener;
    RecordingLinks links;
    IndexLoader stationIndex{folder / "Moltrevane.sqlite"};
    RecordingAnnouncer announcer;
    ScreenContext context{state, port, messages, directory, opener, links, stationIndex, announcer, folder / "Moltrevane.cfg"};
    RecordingDialog dialog;
};

}  // namespace moltrevane::testing
