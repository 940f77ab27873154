// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/locator.h"

#include <gtest/gtest.h>


#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/locator.txt: the locators of positions, the edges and centres of subsquares, and which
// texts are locators.
TEST(Locator, CasesOfTheTable) {
    testing::ExpectTable("geo/golden/locator.txt", [](std::istream& in) -> std::string {
        std::string kind, locator;
        int characters = 6;
        std::string latitudeDm, longitudeDm;  // as std::stod reads them: "nan" too
        in >> kind;
        if (kind == "valid" || kind == "text") {  // the rest of the line, escaped
            std::getline(in >> std::ws, locator);
            locator = testing::Unescaped(locator);
            return kind == "text" ? std::string(LocatorView(ToLocatorText(locator))) : IsValidLocator(locator) ? "yes" : "no";
        }
        if (kind == "centre") {
            in >> locator;
            const GeoPoint centre = PositionFromLocator(locator);
            return testing::Fixed(centre.latitude, 10) + " " + testing::Fixed(centre.longitude, 10);
        }
        if (kind == "long") in >> characters;
        in >> latitudeDm >> longitudeDm;
        const double latitude = std::stod(latitudeDm), longitude = std::stod(longitudeDm);
        if (kind == "edge") {
            const SubsquareEdge edge = NearestSubsquareEdge(latitude, longitude);
            return std::string(1, edge.direction) + " " + testing::Fixed(edge.km, 9);
        }
        if (kind == "six") return testing::Escaped(LocatorView(LocatorFromPosition(latitude, longitude)));
        return LongLocatorFromPosition(latitude, longitude, characters);
    });
}

}  // namespace
}  // namespace moltrevane
