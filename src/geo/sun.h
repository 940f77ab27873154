// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the sun stands, after NOAA's solar calculator (Meeus, "Astronomical Algorithms"):
// accurate to about a minute of sunrise and sunset between 1900 and 2100.

#include <cstdint>

namespace moltrevane {

// The sun's elevation above the horizon in degrees (−90 … 90), without refraction, at
// latitude (−90 … 90, north positive) and longitude (−180 … 180, east positive) in degrees,
// at the UTC moment given in seconds since 1970-01-01. Example: 48° N 11° E on
// 2026-12-07 at 22:00 UTC → about −61°.
double SunElevationDeg(double latitude, double longitude, std::int64_t utcSeconds);

// Night: the sun more than 6° below the horizon (civil dusk to civil dawn).
inline constexpr double kNightBelowDeg = -6.0;

}  // namespace moltrevane
