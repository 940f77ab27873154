// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/golden_table.h"
#include "geo/locator.h"

namespace moltrevane {
namespace {

GeoPoint Point(std::istream& in) {
    std::string first;
    in >> first;
    if (std::isalpha(static_cast<unsigned char>(first[0]))) return PositionFromLocator(first);
    GeoPoint point{std::stod(first), 0};
    in >> point.longitude;
    return point;
}

// golden/distance.txt: known distances and bearings, both of the distance's formulas.
TEST(Distance, AndBearingOfTheTable) {
    testing::ExpectTable("geo/golden/distance.txt", [](std::istream& in) {
        const GeoPoint from = Point(in), to = Point(in);
        return testing::Fixed(DistanceKm(from.latitude, from.longitude, to.latitude, to.longitude), 4) + " " +
               testing::Fixed(BearingDeg(from.latitude, from.longitude, to.latitude, to.longitude), 6);
    });
}

// Same-meridian pairs push the arc-cosine ratio just past ±1 through rounding.
TEST(Bearing, SameMeridianIsExactly360Or180AndIdenticalPointsZero) {
    for (double lat = -80; lat <= 80; lat += 0.37) {
        EXPECT_EQ(BearingDeg(lat, 7.25, lat + 0.01, 7.25), 360.0) << lat;
        EXPECT_EQ(BearingDeg(lat + 0.01, 7.25, lat, 7.25), 180.0) << lat;
    }
    EXPECT_FALSE(std::isnan(CentralAngle(48.1, 11.5, 48.1, 11.5)));
}

TEST(DisplayRule, RoundsUpAndRefusesMeaninglessValues) {
    EXPECT_EQ(DistanceText(7.0) + DistanceText(0.0) + DistanceText(11.12), "7 km0 km12 km");
    EXPECT_EQ(BearingText(14.2738) + BearingText(360.0), "15 \xB0" "360 \xB0");
    EXPECT_EQ(DistanceText(std::nan("")) + BearingText(INFINITY) + DistanceText(1e12), "");
}

}  // namespace
}  // namespace moltrevane
