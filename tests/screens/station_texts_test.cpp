// What a repeater row shows of a station.
#include "screens/station_texts.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

TEST(StationTexts, TheRowShowsFrequencyShiftModeToneLocatorAndPlace) {
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
        {{"SR5KAB", "KO02PF", "", "FM", "Warszawa", "439.375", "431.775", "", "127.3"}, "439.3750 \u22127.600 FM T127.3",
         "439.3750 \u22127.600 FM T127.3  KO02PF - Warszawa"},
        {{"G", "IO91WM", "", "FM", "", "145.7625", "145.1625", "", "D023"}, "145.7625 \u22120.600 FM D023",
         "145.7625 \u22120.600 FM D023  IO91WM - "},
        {{"H", "IO91WM", "", "", "", "145.6", "", "", "1750"}, "145.6000 1750", "145.6000 1750  IO91WM - "},
        {{"I", "IO91WM", "", "FM", "", "145.6", "", "", "CTCSS 88,5 Hz"}, "145.6000 FM", "145.6000 FM  IO91WM - "},
        {{"J", "IO91WM", "", "", "", "", "", "", "88.5"}, "T88.5", "T88.5  IO91WM - "},
    };
    for (const auto& c : cases) {
        const Station station = StationOf(c.row);
        EXPECT_EQ(ChannelText(station), c.channel) << c.row[0];
        EXPECT_EQ(RowInfoText(station), c.info) << c.row[0];
    }
}

// Standing, distance and bearing; moving, an arrow the way the station lies against the course;
// a station placed only by its square is about so far.
TEST(StationTexts, TheRowsDistanceAndDirection) {
    const GeoPoint own = PositionFromLocator("JO31OM");
    const auto at = [](const char* locator, bool fromSquare = false) {
        Station station = StationOf({"X", locator});
        station.fromSquare = fromSquare;
        return station;
    };
    const struct {
        Station station;
        std::optional<double> heading;
        const char* distance;
        const char* direction;
    } cases[] = {
        {at("JO31ON"), std::nullopt, "5 km", "360 \u00B0"},
        {at("JO31ON"), 0.0, "5 km", "\u2191"},     // north, going north: ahead
        {at("JO31ON"), 90.0, "5 km", "\u2190"},    // going east: on the left
        {at("JO31ON"), 135.0, "5 km", "\u2199"},   // going south-east: behind left
        {at("JO31ON"), 315.0, "5 km", "\u2197"},   // going north-west: ahead right
        {at("JO31PM"), 80.0, "6 km", "\u2191"},    // east, going nearly east
        {at("JO31NL"), 0.0, "8 km", "\u2199"},    // south-west, going north
        {at("JO31OM"), 90.0, "0 km", ""},          // at the own point: no way
        {at("JO31OM"), std::nullopt, "0 km", ""},
        {at("JO30LL", true), 180.0, "\u2248 118 km", "\u2191"},  // south-south-west, going south
        {at(""), 0.0, "", ""},                     // no position: nothing measured
    };
    for (const auto& c : cases) {
        const RowMeasureTexts shown = RowMeasure(c.station, own, c.heading);
        EXPECT_EQ(shown.distance + " | " + shown.direction, std::string(c.distance) + " | " + c.direction)
            << c.station.locator << " going " << c.heading.value_or(-1);
    }
}

}  // namespace
}  // namespace moltrevane
