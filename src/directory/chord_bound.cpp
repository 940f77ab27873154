// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/chord_bound.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace moltrevane {
namespace {

// No distance the program computes is shorter than the central angle times this radius less
// a kilometre (the shortest radius of curvature, along a meridian at the equator, is 6335 km),
// so a point whose chord alone puts it farther than the seventh can be passed over.
constexpr double kShortestRadiusKm = 6300.0;

}  // namespace

UnitVector OnSphere(GeoPoint point) {
    const double latitude = point.latitude * std::numbers::pi / 180, longitude = point.longitude * std::numbers::pi / 180;
    return {std::cos(latitude) * std::cos(longitude), std::cos(latitude) * std::sin(longitude), std::sin(latitude)};
}

double SquaredChordWithin(int km) {
    const double angle = (km + 1.0) / kShortestRadiusKm;
    if (angle >= std::numbers::pi) return std::numeric_limits<double>::infinity();
    const double chord = 2 * std::sin(angle / 2);
    return chord * chord;
}

}  // namespace moltrevane
