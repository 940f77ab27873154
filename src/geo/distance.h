// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Distance (ellipsoid, Andoyer with first-order flattening) and initial bearing (sphere).
// Arguments are degrees: own point first, then the target.

#include <string>

#include "geo/locator.h"

namespace moltrevane {

// 3.14159265358979 × (1/180), the historic factor every conversion uses.
inline constexpr double kDegToRad = 3.14159265358979 * 0.005555555555555556;

double CentralAngle(double lat1, double lon1, double lat2, double lon2);
double DistanceKm(double lat1, double lon1, double lat2, double lon2);
// 0 … 360 clockwise from north; due north on the same meridian is 360, identical points 0.
double BearingDeg(double lat1, double lon1, double lat2, double lon2);

// The value rounded up, then " km" or " " and the byte 0xB0; empty for a value
// without meaning (NaN, infinite, beyond int).
std::string DistanceText(double km);
std::string BearingText(double degrees);

struct DistanceBearingTexts {
    std::string distance, bearing;
};

// The display texts from the own point to the target; coincident points have no bearing.
// Example: JN58SD's centre to JO62QM's gives "504 km" and "15 °" (° as byte 0xB0).
DistanceBearingTexts DescribeDistanceAndBearing(GeoPoint own, GeoPoint target);

}  // namespace moltrevane
