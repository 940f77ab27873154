// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/locator.txt: the locators of positions and the edges and centres of subsquares.
TEST(Locator, CasesOfTheTable) {
    testing::ExpectTable("geo/golden/locator.txt", [](std::istream& in) -> std::string {
        std::string kind, locator;
        int characters = 6;
        double latitudeDm = 0, longitudeDm = 0;
        in >> kind;
        if (kind == "centre") {
            in >> locator;
            const GeoPoint centre = PositionFromLocator(locator);
            return testing::Fixed(centre.latitude, 10) + " " + testing::Fixed(centre.longitude, 10);
        }
        if (kind == "long") in >> characters;
        in >> latitudeDm >> longitudeDm;
        if (kind == "edge") {
            const SubsquareEdge edge = NearestSubsquareEdge(latitudeDm, longitudeDm);
            return std::string(1, edge.direction) + " " + testing::Fixed(edge.km, 9);
        }
        if (kind == "six") return std::string(LocatorView(LocatorFromPosition(latitudeDm, longitudeDm)));
        return LongLocatorFromPosition(latitudeDm, longitudeDm, characters);
    });
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

TEST(LocatorText, CutsAtSixAndAtZeroBytes) {
    EXPECT_EQ(LocatorView(ToLocatorText("JN58SDXX")), "JN58SD");
    EXPECT_EQ(LocatorView(ToLocatorText(std::string_view("JN\0SD", 5))), "JN");
    EXPECT_EQ(LocatorView(ToLocatorText("")), "");
}

}  // namespace
}  // namespace moltrevane
