// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of the listed stations around the car.
#include "screens/station_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

// tests/screens/golden/picture-rings.txt: the farthest station's distance, the rings for it.
TEST(StationPicture, RingsAtRoundDistancesHoldingTheFarthest) {
    testing::ExpectCases("picture-rings.txt", [](const std::vector<std::string>& c) {
        const Rings rings = RingsFor(std::stod(c.at(0)));
        return testing::Exact(rings.stepKm) + " " + std::to_string(rings.count);
    });
}

constexpr PictureArea kWide{226, 34, 220, 210};  // the wide main screen's: the car at 336, 139

MeasuredStation At(std::string call, double km, double bearingDeg) {
    Station station;
    station.call = std::move(call);
    return {station, km, bearingDeg};
}

std::vector<std::string> Painted(const PictureArea& area, const std::optional<AroundTheCar>& around) {
    testing::RecordingPainter painter;
    PaintStationPicture(painter, area, around);
    return painter.calls;
}

// Where the station's dot lies from the car, as the driver looks at the picture, and how far:
// tests/screens/golden/picture-sides.txt.
TEST(StationPicture, HeadingUpWhileMovingNorthUpStanding) {
    testing::ExpectCases("picture-sides.txt", [](const std::vector<std::string>& c) {
        const std::optional<double> heading = c.at(1).empty() ? std::nullopt : std::optional(std::stod(c[1]));
        int x = 0, y = 0, size = 0;
        for (const std::string& call : Painted(kWide, AroundTheCar{{At("SR5KAB", 8, std::stod(c.at(0)))}, heading, Ink::Live}))
            if (std::sscanf(call.c_str(), "dot %d %d %d", &x, &y, &size) == 3 && size > 1) break;
        const int dx = x - 336, dy = y - 139;
        EXPECT_NEAR(std::hypot(dx, dy), 91, 1.5) << "8 km on the outer of 2 km rings";  // also: no dot of the station's
        return std::abs(dx) <= 1 ? (dy < 0 ? "up" : "down")
               : std::abs(dy) <= 1 ? (dx < 0 ? "left" : "right")
                                   : std::string(dy < 0 ? "up" : "down") + (dx < 0 ? " left" : " right");
    });
}

// Going east: north marked on the left, the car an arrowhead, four rings 5 km apart for 19 km,
// the nearest drawn last and larger, a call that would run off the right written on its dot's
// left. In the design's shape the picture is the map's size: rings too close for a label each.
// A lost fix greys the stations, the rings faint; no position draws nothing on the area.
TEST(StationPicture, WhatThePictureDraws) {
    std::string drawn;
    const auto paint = [&](const char* what, const PictureArea& area, const std::optional<AroundTheCar>& around) {
        drawn += std::string("# ") + what + "\n";
        for (const std::string& call : Painted(area, around)) drawn += "  " + call + "\n";
    };
    paint("going east", kWide, AroundTheCar{{At("SR5KAB", 3, 90), At("SP5ABCDEFG", 18, 60), At("SR5WI", 19, 180)}, 90.0, Ink::Live});
    paint("the design's shape, standing", {10, 140, 220, 106}, AroundTheCar{{At("SR5KAB", 19, 90)}, std::nullopt, Ink::Live});
    paint("the fix lost", kWide, AroundTheCar{{At("SR5KAB", 3, 90)}, std::nullopt, Ink::Stale});
    paint("no position", kWide, std::nullopt);
    testing::ExpectShown("station-picture.expected", drawn);
}

}  // namespace
}  // namespace moltrevane
