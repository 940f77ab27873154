// SPDX-License-Identifier: GPL-3.0-or-later
// What a repeater row shows of a station.
#include "screens/station_texts.h"

#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

TEST(StationTexts, TheRowShowsFrequencyShiftModeToneLocatorAndPlace) {
    testing::ExpectCases("station-rows.txt", [](const std::vector<std::string>& c) {
        StoredRow row;
        std::copy_n(c.begin(), std::min(c.size(), row.size()), row.begin());
        const std::string channel = ChannelText(StationOf(row));
        return channel + " | " + (channel.empty() ? "" : channel + "  ") + RowPlaceText(StationOf(row));
    });
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
    testing::ExpectCases("row-measures.txt", [](const std::vector<std::string>& c) {
        Station station = StationOf({"X", c.at(0)});
        station.fromSquare = c.at(2) == "square";
        const std::optional<double> heading = c.at(1).empty() ? std::nullopt : std::optional(std::stod(c[1]));
        const RowMeasureTexts shown = RowMeasure(station, PositionFromLocator("JO31OM"), heading);
        return shown.distance + " | " + shown.direction;
    });
}

}  // namespace
}  // namespace moltrevane
