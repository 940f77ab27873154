// SPDX-License-Identifier: GPL-3.0-or-later
// The search that runs by itself while the car moves.
#include <gtest/gtest.h>

#include "core/follow.h"

namespace moltrevane {
namespace {

TEST(FollowSearchDue, AtTheFirstPositionAfterTheStretchAndWhenTheFiltersChange) {
    const GeoPoint start{48.0, 11.0};
    const StationFilter all;
    EXPECT_FALSE(FollowSearchDue(0, start, std::nullopt, all)) << "off";
    EXPECT_FALSE(FollowSearchDue(5, std::nullopt, std::nullopt, all)) << "no position";
    EXPECT_TRUE(FollowSearchDue(5, start, std::nullopt, all)) << "first position";
    const FollowMark mark{start, all};
    EXPECT_FALSE(FollowSearchDue(5, GeoPoint{48.04, 11.0}, mark, all));  // 4.4 km north
    EXPECT_TRUE(FollowSearchDue(5, GeoPoint{48.05, 11.0}, mark, all));   // 5.6 km
    StationFilter no70cm = all;
    no70cm.bands[static_cast<std::size_t>(Band::SeventyCentimetres)] = false;
    EXPECT_TRUE(FollowSearchDue(20, start, mark, no70cm));
}

}  // namespace
}  // namespace moltrevane
