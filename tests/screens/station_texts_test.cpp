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

// Distance and direction of a row, from tests/screens/golden/row-measures.txt.
TEST(StationTexts, TheRowsDistanceAndDirection) {
    for (const std::vector<std::string>& c : testing::TableOf("row-measures.txt")) {
        ASSERT_EQ(c.size(), 5u) << c[0];
        Station station = StationOf({"X", c[0]});
        station.fromSquare = c[2] == "square";
        const std::optional<double> heading = c[1].empty() ? std::nullopt : std::optional(std::stod(c[1]));
        const RowMeasureTexts shown = RowMeasure(station, PositionFromLocator("JO31OM"), heading);
        EXPECT_EQ(shown.distance + "|" + shown.direction, c[3] + "|" + c[4]) << c[0] << " going " << c[1];
    }
}

}  // namespace
}  // namespace moltrevane
