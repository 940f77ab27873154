// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/sun.h"

#include <gtest/gtest.h>

#include <ctime>
#include <iomanip>

#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/sun.txt: the sun's elevation at published sunrises and sunsets, by night and by day.
TEST(SunElevation, OfTheTable) {
    testing::ExpectTable("geo/golden/sun.txt", [](std::istream& in) {
        double latitude = 0, longitude = 0;
        std::tm utc{};
        in >> latitude >> longitude >> std::get_time(&utc, "%Y-%m-%dT%H:%M");
        const double elevation = SunElevationDeg(latitude, longitude, timegm(&utc));
        return testing::Fixed(elevation, 2) + (elevation < kNightBelowDeg ? " night" : "");
    });
}

}  // namespace
}  // namespace moltrevane
