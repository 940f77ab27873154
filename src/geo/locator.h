#pragma once
// Six-character Maidenhead locators.

#include <array>
#include <string_view>

namespace moltrevane {

using LocatorText = std::array<char, 7>;

// From the GPS notation ±(100 × degrees + minutes); computed in minutes, so a position
// on a cell boundary belongs to the cell east or north of it.
LocatorText LocatorFromPosition(double latitudeDm, double longitudeDm);

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
