// SPDX-License-Identifier: GPL-3.0-or-later
// What a repeater row shows of a station.
#include "screens/station_texts.h"

#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

TEST(StationTexts, TheRowShowsFrequencyShiftModeToneLocatorAndPlace) {
    for (const std::vector<std::string>& c : testing::TableOf("station-rows.txt")) {
        ASSERT_EQ(c.size(), 11u) << c[0];
        StoredRow row;
        std::copy(c.begin(), c.begin() + 9, row.begin());
        const std::string channel = ChannelText(StationOf(row));
        EXPECT_EQ(channel, c[9]) << c[0];
        EXPECT_EQ((channel.empty() ? "" : channel + "  ") + RowPlaceText(StationOf(row)), c[10]) << c[0];
    }
}

// Info Station names each value; a shift is input minus output, as a radio's offset.
TEST(StationTexts, InfoStationNamesEachValue) {
    const Station station = StationOf({"SR5KAB", "KO02PF", "612", " FM ", "Warszawa", "439.375", "431.775", "", "127.3"});
    EXPECT_EQ(NamedStationLines(station),
              (std::vector<std::string>{"Output: 439.3750 MHz", "Input: 431.7750 MHz", "Shift: \u22127.600 MHz", "Tone: T127.3",
                                        "Height: 612 m", "Mode: FM", "Place: Warszawa"}));
}

// Standing, distance and bearing; moving, an arrow the way the station lies against the course;
// a station placed only by its square is about so far.
TEST(StationTexts, TheRowsDistanceAndDirection) {
    const struct {
        const char* locator;
        std::optional<double> heading;
        const char* shown;
    } cases[] = {
        {"JO31ON", std::nullopt, "5 km | 360 \u00B0"},
        {"JO31ON", 0.0, "5 km | \u2191"},     // north, going north: ahead
        {"JO31ON", 90.0, "5 km | \u2190"},    // going east: on the left
        {"JO31ON", 135.0, "5 km | \u2199"},   // going south-east: behind left
        {"JO31ON", 315.0, "5 km | \u2197"},   // going north-west: ahead right
        {"JO31PM", 80.0, "6 km | \u2191"},    // east, going nearly east
        {"JO31NL", 0.0, "8 km | \u2199"},     // south-west, going north
        {"JO31OM", 90.0, "0 km | "},          // at the own point: no way
        {"JO31OM", std::nullopt, "0 km | "},
        {"JO30LL", 180.0, "\u2248 118 km | \u2191"},  // placed by its square; south-south-west, going south
        {"", 0.0, " | "},                     // no position: nothing measured
    };
    for (const auto& c : cases) {
        Station station = StationOf({"X", c.locator});
        station.fromSquare = std::string_view(c.locator) == "JO30LL";
        const RowMeasureTexts shown = RowMeasure(station, PositionFromLocator("JO31OM"), c.heading);
        EXPECT_EQ(shown.distance + " | " + shown.direction, c.shown) << c.locator << " going " << c.heading.value_or(-1);
    }
}

}  // namespace
}  // namespace moltrevane
