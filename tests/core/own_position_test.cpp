// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program is, whether that is this second's, and which way the car goes.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/own_position.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/heading.txt: whether the fix is this second's and the car moves, and whether the
// position shown is greyed as kept from before.
TEST(HeadingDegAndPositionStale, OfTheTable) {
    testing::ExpectTable("core/golden/heading.txt", [](std::istream& in) {
        std::string receiver, fix, kmh, course;
        in >> receiver >> fix >> kmh >> course;
        const auto given = [](const std::string& text) { return text == "-" ? std::nullopt : std::optional(std::stod(text)); };
        AppState state;
        state.portActive = receiver == "gps";
        if (fix != "none") state.gpsFix = GeoPoint{52.2, 21.0};
        state.fixLive = fix == "live";
        state.motion = {given(kmh), given(course)};
        const std::optional<double> heading = HeadingDeg(state);
        return (heading ? testing::Exact(*heading) : "-") + (PositionStale(state) ? " grey" : "");
    });
}

}  // namespace
}  // namespace moltrevane
