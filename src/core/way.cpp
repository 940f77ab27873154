// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/way.h"

#include <array>
#include <cmath>

namespace moltrevane {

int EighthOf(double degrees) {
    const double turned = std::fmod(std::fmod(degrees, 360) + 360, 360);  // 0 … 360
    if (!std::isfinite(turned)) return 0;
    return static_cast<int>(std::lround(turned / 45) % 8);
}

Way WayOf(double bearingDeg, double headingDeg) { return static_cast<Way>(EighthOf(bearingDeg - headingDeg)); }

std::string_view SpokenWay(Way way) {
    static constexpr std::array<std::string_view, 8> kWays = {"ahead",  "ahead right", "right", "behind right",
                                                              "behind", "behind left", "left",  "ahead left"};
    return kWays[static_cast<std::size_t>(way)];
}

std::string_view SpokenCompass(double bearingDeg) {
    static constexpr std::array<std::string_view, 8> kPoints = {"north", "north-east", "east", "south-east",
                                                                "south", "south-west", "west", "north-west"};
    return kPoints[static_cast<std::size_t>(EighthOf(bearingDeg))];
}

}  // namespace moltrevane
