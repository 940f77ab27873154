// What a repeater row shows of a station.
#include "screens/station_texts.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

TEST(StationTexts, TheRowShowsFrequencyShiftModeLocatorAndPlace) {
    const struct {
        StoredRow row;
        const char* channel;
        const char* info;
    } cases[] = {
        {{"A", "JN57WA", "", "FM", "Kirche", "145.7125", "145.1125"}, "145.7125 \u22120.600 FM",
         "145.7125 \u22120.600 FM  JN57WA - Kirche"},
        {{"B", "JN58SD", "", "", "Berg", "431.5", "439.1"}, "431.5000 +7.600", "431.5000 +7.600  JN58SD - Berg"},
        {{"C", "JO31OK", "", "Bake", "Turm", "432.450", ""}, "432.4500 Bake", "432.4500 Bake  JO31OK - Turm"},
        {{"D", "JO31OK", "", " APRS ", "", "144.800", "144.800"}, "144.8000 0.000 APRS", "144.8000 0.000 APRS  JO31OK - "},
        {{"E", "JO31OK", "", "", "Nur Ort", "", "145.000"}, "", "JO31OK - Nur Ort"},
        {{"F", "", "", "DMR", "", "n/a", ""}, "DMR", "DMR   - "},
    };
    for (const auto& c : cases) {
        const Station station = StationOf(c.row);
        EXPECT_EQ(ChannelText(station), c.channel) << c.row[0];
        EXPECT_EQ(RowInfoText(station), c.info) << c.row[0];
    }
}

}  // namespace
}  // namespace moltrevane
