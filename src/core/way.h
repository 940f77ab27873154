// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which way a station lies: a compass point when the car stands, against the car's course
// while it moves, so that nobody works out "311°" at the wheel.

#include <string_view>

namespace moltrevane {

// The eighth of the circle a direction falls in: 0 (north, or ahead) to 7 clockwise, each
// 45° wide and centred on its direction, whatever turns the angle makes (0 for no angle, NaN).
int EighthOf(double degrees);

enum class Way { Ahead, AheadRight, Right, BehindRight, Behind, BehindLeft, Left, AheadLeft };

// Where a station at `bearingDeg` lies for a car going `headingDeg`, both clockwise from north:
// ahead within 22.5° either side of the course.
Way WayOf(double bearingDeg, double headingDeg);

// "ahead", "ahead right", "right", "behind right" … as speech says it.
std::string_view SpokenWay(Way way);

// "north", "north-east" … for a bearing.
std::string_view SpokenCompass(double bearingDeg);

}  // namespace moltrevane
