// SPDX-License-Identifier: GPL-3.0-or-later
// Which way a station lies against the car's course, and as a compass point.
#include <gtest/gtest.h>

#include "core/way.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/ways.txt: the eighths' edges, angles beyond the circle, and the words said.
TEST(WayOf, AndCompassPointsOfTheTable) {
    testing::ExpectTable("core/golden/ways.txt", [](std::istream& in) {
        std::string kind, bearing;
        double heading = 0;
        in >> kind >> bearing >> heading;
        return std::string(kind == "way" ? SpokenWay(WayOf(std::stod(bearing), heading)) : SpokenCompass(std::stod(bearing)));
    });
}

// Every course round the compass, across north too: a station 20° either side of each eighth off
// the course lies that way.
TEST(WayOf, EveryCourseRoundTheCompass) {
    const Way ways[] = {Way::Ahead, Way::AheadRight, Way::Right, Way::BehindRight,
                        Way::Behind, Way::BehindLeft, Way::Left, Way::AheadLeft};
    for (double heading = 0; heading < 360; heading += 7.5)
        for (int eighth = 0; eighth < 8; ++eighth)
            for (const double off : {-20.0, 0.0, 20.0})
                EXPECT_EQ(WayOf(heading + 45 * eighth + off, heading), ways[eighth]) << heading << " " << eighth << " " << off;
}

}  // namespace
}  // namespace moltrevane
