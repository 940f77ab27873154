// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program is, whether that is this second's, and which way the car goes.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/own_position.h"

namespace moltrevane {
namespace {

TEST(HeadingDeg, TheCourseOfThisSecondsFixWhileTheCarMoves) {
    const struct {
        bool gps, live;
        std::optional<double> kmh, course, heading;
    } cases[] = {
        {true, true, 100, 90, 90},
        {true, true, 5, 271.5, 271.5},
        {true, true, 4.9, 90, std::nullopt},            // standing, or near it: the course wanders
        {true, true, 100, std::nullopt, std::nullopt},  // no course given
        {true, true, std::nullopt, 90, std::nullopt},
        {true, false, 100, 90, std::nullopt},           // the fix kept from an earlier second
        {false, true, 100, 90, std::nullopt},           // offline
    };
    for (const auto& c : cases) {
        AppState state;
        state.portActive = c.gps;
        state.gpsFix = GeoPoint{52.2, 21.0};
        state.fixLive = c.live;
        state.motion = {c.kmh, c.course};
        EXPECT_EQ(HeadingDeg(state), c.heading) << c.gps << c.live << c.kmh.value_or(-1) << " " << c.course.value_or(-1);
    }
}

TEST(PositionStale, OnlyAReceiversPositionKeptFromBefore) {
    AppState state;
    EXPECT_FALSE(PositionStale(state)) << "offline";
    state.portActive = true;
    EXPECT_FALSE(PositionStale(state)) << "no fix yet: nothing to grey";
    state.gpsFix = GeoPoint{52.2, 21.0};
    EXPECT_TRUE(PositionStale(state));
    state.fixLive = true;
    EXPECT_FALSE(PositionStale(state));
}

}  // namespace
}  // namespace moltrevane
