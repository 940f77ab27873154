// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Six-character Maidenhead locators.

#include <array>
#include <string>
#include <string_view>

namespace moltrevane {

using LocatorText = std::array<char, 7>;

// From the GPS notation ±(100 × degrees + minutes); computed in minutes, so a position
// on a cell boundary belongs to the cell east or north of it.
LocatorText LocatorFromPosition(double latitudeDm, double longitudeDm);

// The locator for rovers who give more: 8 characters add the extended square's two digits
// (a tenth of the subsquare each way), 10 also the extended subsquare's two letters (a 24th of
// that), in lower case as they are commonly written. The first six are LocatorFromPosition's;
// any other count gives those six.
std::string LongLocatorFromPosition(double latitudeDm, double longitudeDm, int characters);

// How far the nearest edge of the position's subsquare lies, and which way: 'N', 'E', 'S' or 'W'.
struct SubsquareEdge {
    double km;
    char direction;
};
SubsquareEdge NearestSubsquareEdge(double latitudeDm, double longitudeDm);

// Missing characters count as the terminating zero.
bool IsValidLocator(std::string_view locatorText);

struct GeoPoint {
    double latitude;
    double longitude;
};

// Centre of the subsquare; no check of its own, missing characters count as zero bytes.
GeoPoint PositionFromLocator(std::string_view locatorText);

// The text of a zero-terminated locator array.
std::string_view LocatorView(const LocatorText& locator);

// The first six bytes of text, zero-terminated.
LocatorText ToLocatorText(std::string_view text);

}  // namespace moltrevane
