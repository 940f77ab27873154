#include "geo/distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/locator.h"

namespace moltrevane {
namespace {

TEST(Distance, EllipsoidBranchMatchesKnownValues) {
    const GeoPoint munich = PositionFromLocator("JN58SD");
    const GeoPoint berlin = PositionFromLocator("JO62QM");
    EXPECT_NEAR(DistanceKm(munich.latitude, munich.longitude, berlin.latitude, berlin.longitude), 503.8157, 1e-4);
    EXPECT_NEAR(DistanceKm(berlin.latitude, berlin.longitude, munich.latitude, munich.longitude), 503.8157, 1e-4);
    EXPECT_NEAR(DistanceKm(0, 0, 0, 1), 111.3195, 1e-4);
    EXPECT_NEAR(DistanceKm(0, 0, 1, 0), 110.5732, 1e-4);
    EXPECT_NEAR(DistanceKm(0, 0, 0, 90), 10018.7588, 1e-4);
    EXPECT_NEAR(DistanceKm(48, 11, 48.19, 11), 21.1267, 1e-4);
}

TEST(Distance, NearBranchAndItsThreshold) {
    EXPECT_NEAR(DistanceKm(48, 11, 48.1, 11), 11.1200, 1e-4);
    EXPECT_NEAR(DistanceKm(48, 11, 48, 11.1), 7.4407, 1e-4);
    EXPECT_NEAR(DistanceKm(48, 11, 48.18, 11), 20.0160, 1e-4);
    EXPECT_NEAR(DistanceKm(0, 179.99, 0, -179.99), 2.2240, 1e-4);
    EXPECT_EQ(DistanceKm(48.3, 11.7, 48.3, 11.7), 0.0);
    const GeoPoint a = PositionFromLocator("JN58SD");
    const GeoPoint b = PositionFromLocator("JN58TD");
    EXPECT_NEAR(DistanceKm(a.latitude, a.longitude, b.latitude, b.longitude), 6.1830, 1e-4);
}

TEST(Distance, AntipodesGiveHalfAMeridian) {
    for (const auto& [lat1, lon1, lat2, lon2] :
         {std::array{0.0, 0.0, 0.0, 180.0}, {90.0, 0.0, -90.0, 0.0}, {48.0, 11.0, -48.0, -169.0}}) {
        const double km = DistanceKm(lat1, lon1, lat2, lon2);
        EXPECT_NEAR(km, 20003.9, 0.1);
        EXPECT_FALSE(std::isnan(BearingDeg(lat1, lon1, lat2, lon2)));
    }
}

TEST(Bearing, QuadrantsMeridiansAndAntimeridian) {
    const GeoPoint munich = PositionFromLocator("JN58SD");
    const GeoPoint berlin = PositionFromLocator("JO62QM");
    EXPECT_NEAR(BearingDeg(munich.latitude, munich.longitude, berlin.latitude, berlin.longitude), 14.2738, 1e-4);
    EXPECT_NEAR(BearingDeg(berlin.latitude, berlin.longitude, munich.latitude, munich.longitude), 195.6861, 1e-4);
    const GeoPoint a = PositionFromLocator("JN58SD");
    const GeoPoint b = PositionFromLocator("JN58TD");
    EXPECT_NEAR(BearingDeg(a.latitude, a.longitude, b.latitude, b.longitude), 89.9689, 1e-4);
    EXPECT_NEAR(BearingDeg(0, 179, 0, -179), 90, 1e-6);
    EXPECT_NEAR(BearingDeg(0, -179, 0, 179), 270, 1e-6);
}

// Same-meridian pairs push the arc-cosine ratio just past ±1 through rounding.
TEST(Bearing, SameMeridianIsExactly360Or180AndIdenticalPointsZero) {
    const GeoPoint sd = PositionFromLocator("JN58SD");
    const GeoPoint se = PositionFromLocator("JN58SE");
    EXPECT_EQ(BearingDeg(sd.latitude, sd.longitude, se.latitude, se.longitude), 360.0);
    EXPECT_EQ(BearingDeg(se.latitude, se.longitude, sd.latitude, sd.longitude), 180.0);
    for (double lat = -80; lat <= 80; lat += 0.37) {
        EXPECT_EQ(BearingDeg(lat, 7.25, lat + 0.01, 7.25), 360.0) << lat;
        EXPECT_EQ(BearingDeg(lat + 0.01, 7.25, lat, 7.25), 180.0) << lat;
    }
    EXPECT_EQ(BearingDeg(sd.latitude, sd.longitude, sd.latitude, sd.longitude), 0.0);
    EXPECT_FALSE(std::isnan(CentralAngle(48.1, 11.5, 48.1, 11.5)));
}

TEST(DisplayRule, RoundsUpAndRefusesMeaninglessValues) {
    EXPECT_EQ(DistanceText(503.8157), "504 km");
    EXPECT_EQ(DistanceText(7.0), "7 km");
    EXPECT_EQ(DistanceText(0.0), "0 km");
    EXPECT_EQ(DistanceText(11.12), "12 km");
    EXPECT_EQ(BearingText(14.2738), "15 \xB0");
    EXPECT_EQ(BearingText(360.0), "360 \xB0");
    EXPECT_EQ(DistanceText(std::nan("")), "");
    EXPECT_EQ(BearingText(INFINITY), "");
    EXPECT_EQ(DistanceText(1e12), "");
}

}  // namespace
}  // namespace moltrevane
