// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/locator.h"

namespace moltrevane {
namespace {

double Km(GeoPoint a, GeoPoint b) { return DistanceKm(a.latitude, a.longitude, b.latitude, b.longitude); }
double Deg(GeoPoint a, GeoPoint b) { return BearingDeg(a.latitude, a.longitude, b.latitude, b.longitude); }

const GeoPoint kMunich = PositionFromLocator("JN58SD"), kBerlin = PositionFromLocator("JO62QM");
const GeoPoint kNextEast = PositionFromLocator("JN58TD"), kNextNorth = PositionFromLocator("JN58SE");

// Known values either side of where the flat formula for short distances takes over (about 20 km).
TEST(Distance, BothBranchesAndTheirThreshold) {
    const std::pair<std::array<GeoPoint, 2>, double> cases[] = {
        {{kMunich, kBerlin}, 503.8157},
        {{kBerlin, kMunich}, 503.8157},
        {{GeoPoint{0, 0}, GeoPoint{1, 0}}, 110.5732},
        {{GeoPoint{48, 11}, GeoPoint{48.19, 11}}, 21.1267},
        {{GeoPoint{48, 11}, GeoPoint{48.18, 11}}, 20.0160},
        {{GeoPoint{48, 11}, GeoPoint{48, 11.1}}, 7.4407},
        {{GeoPoint{0, 179.99}, GeoPoint{0, -179.99}}, 2.2240},
        {{kMunich, kNextEast}, 6.1830},
        {{GeoPoint{48.3, 11.7}, GeoPoint{48.3, 11.7}}, 0.0},
    };
    for (const auto& [points, km] : cases) EXPECT_NEAR(Km(points[0], points[1]), km, 1e-4) << km;
}

TEST(Distance, AntipodesGiveHalfAMeridian) {
    for (const auto& [a, b] : {std::pair{GeoPoint{0, 0}, GeoPoint{0, 180}}, std::pair{GeoPoint{90, 0}, GeoPoint{-90, 0}},
                               std::pair{GeoPoint{48, 11}, GeoPoint{-48, -169}}}) {
        EXPECT_NEAR(Km(a, b), 20003.9, 0.1);
        EXPECT_FALSE(std::isnan(Deg(a, b)));
    }
}

TEST(Bearing, QuadrantsMeridiansAndAntimeridian) {
    EXPECT_NEAR(Deg(kMunich, kBerlin), 14.2738, 1e-4);
    EXPECT_NEAR(Deg(kBerlin, kMunich), 195.6861, 1e-4);
    EXPECT_NEAR(Deg(kMunich, kNextEast), 89.9689, 1e-4);
    EXPECT_NEAR(BearingDeg(0, 179, 0, -179), 90, 1e-6);
    EXPECT_NEAR(BearingDeg(0, -179, 0, 179), 270, 1e-6);
}

// Same-meridian pairs push the arc-cosine ratio just past ±1 through rounding.
TEST(Bearing, SameMeridianIsExactly360Or180AndIdenticalPointsZero) {
    EXPECT_EQ(Deg(kMunich, kNextNorth), 360.0);
    EXPECT_EQ(Deg(kNextNorth, kMunich), 180.0);
    for (double lat = -80; lat <= 80; lat += 0.37) {
        EXPECT_EQ(BearingDeg(lat, 7.25, lat + 0.01, 7.25), 360.0) << lat;
        EXPECT_EQ(BearingDeg(lat + 0.01, 7.25, lat, 7.25), 180.0) << lat;
    }
    EXPECT_EQ(Deg(kMunich, kMunich), 0.0);
    EXPECT_FALSE(std::isnan(CentralAngle(48.1, 11.5, 48.1, 11.5)));
}

TEST(DisplayRule, RoundsUpAndRefusesMeaninglessValues) {
    EXPECT_EQ(DistanceText(7.0) + DistanceText(0.0) + DistanceText(11.12), "7 km0 km12 km");
    EXPECT_EQ(BearingText(14.2738) + BearingText(360.0), "15 \xB0" "360 \xB0");
    EXPECT_EQ(DistanceText(std::nan("")) + BearingText(INFINITY) + DistanceText(1e12), "");
}

}  // namespace
}  // namespace moltrevane
