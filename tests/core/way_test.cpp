// SPDX-License-Identifier: GPL-3.0-or-later
// Which way a station lies against the car's course, and as a compass point.
#include <gtest/gtest.h>

#include <cmath>

#include "core/way.h"

namespace moltrevane {
namespace {

// Where one eighth ends and the next begins, and courses and bearings beyond the circle.
TEST(WayOf, AtTheEighthsEdgesAndBeyondTheCircle) {
    const struct {
        double bearing, heading;
        Way way;
    } cases[] = {
        {22.4, 0, Way::Ahead}, {22.6, 0, Way::AheadRight}, {337.6, 0, Way::Ahead}, {337.4, 0, Way::AheadLeft},
        {-45, 0, Way::AheadLeft}, {90, -90, Way::Behind}, {725, 0, Way::Ahead}, {100, 460, Way::Ahead}, {360, 90, Way::Left},
    };
    for (const auto& c : cases) EXPECT_EQ(WayOf(c.bearing, c.heading), c.way) << c.bearing << " going " << c.heading;
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

TEST(SpokenWays, WordsAndCompassPoints) {
    EXPECT_EQ(SpokenWay(Way::AheadLeft), "ahead left");
    EXPECT_EQ(SpokenWay(Way::BehindRight), "behind right");
    EXPECT_EQ(SpokenCompass(44), "north-east");
    EXPECT_EQ(SpokenCompass(337.6), "north");
    EXPECT_EQ(SpokenCompass(-90), "west");
    EXPECT_EQ(SpokenCompass(std::nan("")), "north") << "no angle is no way to an array's end";
}

}  // namespace
}  // namespace moltrevane
