// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/locator.h"

#include <algorithm>
#include <cmath>


namespace moltrevane {
namespace {

// Index of a cell, bounded so that no input can make a character out of range.
char Cell(char first, double quotient, int cells) {
    const double index = std::floor(quotient);
    if (!(index >= 0.0)) return first;
    return static_cast<char>(first + static_cast<int>(std::min(index, cells - 1.0)));
}

double NonNegativeRemainder(double value, double modulus) {
    const double remainder = std::fmod(value, modulus);
    return remainder < 0.0 ? remainder + modulus : remainder;
}

double SignedArcMinutes(double degreesMinutes) {
    const double magnitude = std::fabs(degreesMinutes);
    const double degrees = std::floor(magnitude / 100.0);
    const double minutes = magnitude - 100.0 * degrees;
    const double arcMinutes = 60.0 * degrees + minutes;
    return degreesMinutes < 0.0 ? -arcMinutes : arcMinutes;
}

int CharAt(std::string_view text, std::size_t i) {
    return i < text.size() ? static_cast<signed char>(text[i]) : 0;
}

// Arc minutes east of 180° W and north of 90° S: every cell is counted from these.
struct GridMinutes {
    double t, u;
};
GridMinutes GridMinutesOf(double latitudeDm, double longitudeDm) {
    return {SignedArcMinutes(longitudeDm) + 10800.0, SignedArcMinutes(latitudeDm) + 5400.0};
}

// A subsquare is 5′ of longitude by 2.5′ of latitude.
constexpr double kSubsquareT = 5.0, kSubsquareU = 2.5;

}  // namespace

std::string LongLocatorFromPosition(double latitudeDm, double longitudeDm, int characters) {
    std::string locator(LocatorView(LocatorFromPosition(latitudeDm, longitudeDm)));
    if (characters != 8 && characters != 10) return locator;
    const auto [t, u] = GridMinutesOf(latitudeDm, longitudeDm);
    const double inT = NonNegativeRemainder(t, kSubsquareT), inU = NonNegativeRemainder(u, kSubsquareU);
    locator += Cell('0', inT / (kSubsquareT / 10), 10);
    locator += Cell('0', inU / (kSubsquareU / 10), 10);
    if (characters == 10) {
        locator += Cell('a', NonNegativeRemainder(inT, kSubsquareT / 10) / (kSubsquareT / 240), 24);
        locator += Cell('a', NonNegativeRemainder(inU, kSubsquareU / 10) / (kSubsquareU / 240), 24);
    }
    return locator;
}

SubsquareEdge NearestSubsquareEdge(double latitudeDm, double longitudeDm) {
    const auto [t, u] = GridMinutesOf(latitudeDm, longitudeDm);
    const double inT = NonNegativeRemainder(t, kSubsquareT), inU = NonNegativeRemainder(u, kSubsquareU);
    // A minute of latitude is a nautical mile; one of longitude shrinks with the latitude's cosine.
    constexpr double kKmPerMinute = 1.852;
    const double eastWestKm = kKmPerMinute * std::cos((u - 5400.0) / 60.0 * 3.14159265358979 / 180.0);
    const SubsquareEdge edges[] = {{(kSubsquareU - inU) * kKmPerMinute, 'N'},
                                   {(kSubsquareT - inT) * eastWestKm, 'E'},
                                   {inU * kKmPerMinute, 'S'},
                                   {inT * eastWestKm, 'W'}};
    return *std::min_element(std::begin(edges), std::end(edges),
                             [](const SubsquareEdge& a, const SubsquareEdge& b) { return a.km < b.km; });
}

LocatorText LocatorFromPosition(double latitudeDm, double longitudeDm) {
    const auto [t, u] = GridMinutesOf(latitudeDm, longitudeDm);
    return {Cell('A', t / 1200.0, 26),
            Cell('A', u / 600.0, 26),
            Cell('0', NonNegativeRemainder(t, 1200.0) / 120.0, 10),
            Cell('0', NonNegativeRemainder(u, 600.0) / 60.0, 10),
            Cell('A', NonNegativeRemainder(t, 120.0) / 5.0, 26),
            Cell('A', NonNegativeRemainder(u, 60.0) / 2.5, 26),
            '\0'};
}

bool IsValidLocator(std::string_view locatorText) {
    for (std::size_t i = 0; i < 6; ++i) {
        const int c = CharAt(locatorText, i);
        const bool digitPosition = i == 2 || i == 3;
        const bool accepted = digitPosition ? (c >= '0' && c <= '9') : (c >= 'A' && c <= 'Y');
        if (!accepted) return false;
    }
    return true;
}

GeoPoint PositionFromLocator(std::string_view locatorText) {
    const auto c = [&](std::size_t position) { return CharAt(locatorText, position - 1); };
    const double longitude =
        (c(5) - 'A') * (1.0 / 12) + 2 * (c(3) - '0') + 20 * (c(1) - 'J') + 1.0 / 24;
    const double latitude =
        (c(6) - 'A') * (1.0 / 24) + 10 * (c(2) - 'J') + (c(4) - '0') + 1.0 / 48;
    return {latitude, longitude};
}

std::string_view LocatorView(const LocatorText& locator) {
    const std::string_view whole(locator.data(), locator.size());
    return whole.substr(0, whole.find('\0'));
}

LocatorText ToLocatorText(std::string_view text) {
    LocatorText locator{};
    const std::string_view head = text.substr(0, text.find('\0')).substr(0, 6);
    std::copy(head.begin(), head.end(), locator.begin());
    return locator;
}

}  // namespace moltrevane
