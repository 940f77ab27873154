// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program is and which way it goes: what distances are measured from, and the
// locator it hands on.

#include <optional>

#include "geo/locator.h"

namespace moltrevane {

struct AppState;

// The own point: the last GPS position in GPS mode, else the centre of the offline locator.
// Nothing when there is none: no fix yet, or an offline locator that is not one (empty, "ERROR").
std::optional<GeoPoint> OwnPosition(const AppState& state);

// Where the palette looks at the sun: the own point, or in GPS mode before the first fix the
// offline locator, the one place the settings keep, so that a start at night opens in night
// colours.
std::optional<GeoPoint> SkyPosition(const AppState& state);

// A GPS position kept from an earlier second: whatever is measured from it is shown greyed.
bool PositionStale(const AppState& state);

// From this speed on the receiver's course is the car's: below it the course wanders.
inline constexpr double kMovingKmh = 5;

// Which way the car goes (degrees clockwise from north): the course of this second's fix while
// it moves at kMovingKmh or more; nothing standing, offline or without a course.
std::optional<double> HeadingDeg(const AppState& state);

// The locator handed to other programs: the last fix's in GPS mode, the offline locator when
// it is one; nothing before the first fix or without a valid offline locator.
std::optional<LocatorText> OwnLocator(const AppState& state);

}  // namespace moltrevane
