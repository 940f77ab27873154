// SPDX-License-Identifier: GPL-3.0-or-later
// Locator texts and coordinates: no value without meaning for a valid locator, and the
// centre of any standard locator leads back to it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>

#include "fuzz_check.h"
#include "geo/distance.h"
#include "geo/locator.h"

namespace {

using namespace moltrevane;

// A locator with field letters 'A'–'R' and subsquare letters 'A'–'X', made from six bytes.
std::string StandardLocator(std::string_view bytes) {
    std::string locator;
    for (std::size_t i = 0; i < 6; ++i) {
        const int byte = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
        locator += static_cast<char>("AA00AA"[i] + byte % (i < 2 ? 18 : i < 4 ? 10 : 24));
    }
    return locator;
}

// Degrees in the receiver's notation, ±(100 × degrees + minutes).
double DegreesMinutes(double degrees) {
    const double magnitude = std::fabs(degrees);
    const double whole = std::floor(magnitude);
    const double dm = 100.0 * whole + (magnitude - whole) * 60.0;
    return degrees < 0 ? -dm : dm;
}

void CheckStandardRoundTrip(std::string_view bytes) {
    const std::string locator = StandardLocator(bytes);
    FUZZ_CHECK(IsValidLocator(locator));
    const GeoPoint centre = PositionFromLocator(locator);
    const LocatorText back = LocatorFromPosition(DegreesMinutes(centre.latitude), DegreesMinutes(centre.longitude));
    FUZZ_CHECK(LocatorView(back) == locator);
}

void CheckDistanceAndBearing(std::string_view own, std::string_view target) {
    const GeoPoint a = PositionFromLocator(own), b = PositionFromLocator(target);
    const double km = DistanceKm(a.latitude, a.longitude, b.latitude, b.longitude);
    FUZZ_CHECK(!(km > 20037.6));  // whatever bytes a settings file gave the locator: half the equator at most
    if (!IsValidLocator(own) || !IsValidLocator(target)) return;
    FUZZ_CHECK(std::isfinite(a.latitude) && std::isfinite(a.longitude));
    const double bearing = BearingDeg(a.latitude, a.longitude, b.latitude, b.longitude);
    FUZZ_CHECK(std::isfinite(km) && km >= 0.0 && km < 20100.0);
    FUZZ_CHECK(std::isfinite(bearing) && bearing >= 0.0 && bearing <= 360.0);
    FUZZ_CHECK(!DistanceText(km).empty() && !BearingText(bearing).empty());
}

// Any pair of doubles, even NaN or huge, gives six characters in their ranges.
void CheckAnyPosition(double latitudeDm, double longitudeDm) {
    const LocatorText locator = LocatorFromPosition(latitudeDm, longitudeDm);
    FUZZ_CHECK(LocatorView(locator).size() == 6);
    for (std::size_t i = 0; i < 6; ++i) {
        const char c = locator[i];
        FUZZ_CHECK(i == 2 || i == 3 ? (c >= '0' && c <= '9') : (c >= 'A' && c <= 'Z'));
    }
    const bool onEarth = std::fabs(latitudeDm) < 9000.0 && std::fabs(longitudeDm) < 18000.0;
    if (onEarth) FUZZ_CHECK(IsValidLocator(LocatorView(locator)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string own = input.ConsumeBytesAsString(6);
    const std::string target = input.ConsumeBytesAsString(6);
    CheckStandardRoundTrip(own);
    CheckDistanceAndBearing(own, target);
    CheckDistanceAndBearing(StandardLocator(own), StandardLocator(target));
    CheckAnyPosition(input.ConsumeFloatingPoint<double>(), input.ConsumeFloatingPoint<double>());
    return 0;
}
