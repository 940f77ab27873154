// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace moltrevane {
namespace {

std::string Locator(double latitudeDm, double longitudeDm) {
    return std::string(LocatorView(LocatorFromPosition(latitudeDm, longitudeDm)));
}

TEST(LocatorFromPosition, KnownPlacesAndBoundaries) {
    EXPECT_EQ(Locator(4808.5, 1134.6), "JN58SD");
    EXPECT_EQ(Locator(0.0, 0.0), "JJ00AA");
    EXPECT_EQ(Locator(5102.5, 1105.0), "JO51NB");  // exactly on a subsquare edge: the next cell
    EXPECT_EQ(Locator(-130.0, -130.0), "II98GM");
    EXPECT_EQ(Locator(9000.0, 18000.0), "SS00AA");  // no clamping at the pole and the antimeridian
}

TEST(LongLocatorFromPosition, ExtendedSquareAndSubsquareWorkedOutByHand) {
    // 52.51452 N 21.068521 E, as gpsd's client library gives it: KO02mm83.
    EXPECT_EQ(LongLocatorFromPosition(5230.8712, 2104.11126, 8), "KO02MM83");
    EXPECT_EQ(LongLocatorFromPosition(5230.8712, 2104.11126, 10), "KO02MM83fl");
    EXPECT_EQ(LongLocatorFromPosition(5230.8712, 2104.11126, 6), "KO02MM");
    // The equator and the prime meridian, and a hair south-west of them.
    EXPECT_EQ(LongLocatorFromPosition(0.0, 0.0, 10), "JJ00AA00aa");
    EXPECT_EQ(LongLocatorFromPosition(-0.0001, -0.0001, 10), "II99XX99xx");
    // Both sides of the antimeridian.
    EXPECT_EQ(LongLocatorFromPosition(0.0, 17959.99, 10), "RJ90XA90xa");
    EXPECT_EQ(LongLocatorFromPosition(0.0, -17959.99, 10), "AJ00AA00aa");
    // The last cells before both poles.
    EXPECT_EQ(LongLocatorFromPosition(8959.99, 0.0, 10), "JR09AX09ax");
    EXPECT_EQ(LongLocatorFromPosition(-8959.99, 0.0, 10), "JA00AA00aa");
    // A boundary belongs to the cell east or north of it, as in the six characters.
    EXPECT_EQ(LongLocatorFromPosition(4808.75, 1134.5, 8), "JN58SD95");
}

TEST(NearestSubsquareEdge, DistanceAndWay) {
    // JN58SD spans 11°30′–11°35′ E and 48°07.5′–48°10′ N.
    const SubsquareEdge north = NearestSubsquareEdge(4809.9, 1132.5), west = NearestSubsquareEdge(4808.75, 1130.1);
    EXPECT_EQ(north.direction, 'N');
    EXPECT_NEAR(north.km, 0.1852, 1e-9);
    EXPECT_EQ(west.direction, 'W');
    EXPECT_NEAR(west.km, 0.1236, 1e-4);  // a tenth of a minute east-west, narrower by the latitude
    EXPECT_EQ(NearestSubsquareEdge(4807.6, 1132.5).direction, 'S');
    EXPECT_EQ(NearestSubsquareEdge(4808.75, 1134.9).direction, 'E');
}

TEST(LocatorFromPosition, NoInputMakesACharacterOutOfRange) {
    for (double v : {std::nan(""), 1e300, -1e300, 99999.0}) {
        const LocatorText locator = LocatorFromPosition(v, v);
        for (int i : {0, 1, 4, 5}) EXPECT_TRUE(locator[i] >= 'A' && locator[i] <= 'Z') << v;
        for (int i : {2, 3}) EXPECT_TRUE(locator[i] >= '0' && locator[i] <= '9') << v;
        EXPECT_EQ(locator[6], '\0');
    }
}

TEST(IsValidLocator, FormOnlyWithTheWideLetterRange) {
    for (const char* good : {"JN58SD", "YY99YY", "JN58SDXX", "AA00AA"}) EXPECT_TRUE(IsValidLocator(good)) << good;
    for (const char* bad : {"jn58sd", "ZZ00AA", "JN5ASD", "JN58S", "ERROR", "", "JN58S\xC4"})
        EXPECT_FALSE(IsValidLocator(bad)) << bad;
}

TEST(PositionFromLocator, CentreOfTheSubsquare) {
    const GeoPoint munich = PositionFromLocator("JN58SD"), corner = PositionFromLocator("AA00AA");
    EXPECT_NEAR(munich.latitude, 48.1458333333, 1e-9);
    EXPECT_NEAR(munich.longitude, 11.5416666667, 1e-9);
    EXPECT_NEAR(corner.latitude, -89.9791666667, 1e-9);
    EXPECT_NEAR(corner.longitude, -179.9583333333, 1e-9);
}

TEST(LocatorText, CutsAtSixAndAtZeroBytes) {
    EXPECT_EQ(LocatorView(ToLocatorText("JN58SDXX")), "JN58SD");
    EXPECT_EQ(LocatorView(ToLocatorText(std::string_view("JN\0SD", 5))), "JN");
    EXPECT_EQ(LocatorView(ToLocatorText("")), "");
}

}  // namespace
}  // namespace moltrevane
