// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/sun.h"

#include <gtest/gtest.h>

#include <ctime>

namespace moltrevane {
namespace {

std::int64_t Utc(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return timegm(&t);
}

// At published sunrise and sunset the sun's centre is 0.833° below the horizon (refraction
// and the sun's radius). Times from the almanacs, to the minute: at mid-latitudes the sun
// moves about 0.2° a minute then.
TEST(SunElevation, AtPublishedSunrisesAndSunsets) {
    struct Event {
        const char* place;
        double latitude, longitude;
        std::int64_t utc;
    };
    for (const Event& e : {
             Event{"London, sunrise 2024-06-21 04:43 BST", 51.5074, -0.1278, Utc(2024, 6, 21, 3, 43)},
             Event{"Munich, sunset 2024-12-21 16:22 CET", 48.1372, 11.5755, Utc(2024, 12, 21, 15, 22)},
             Event{"Sydney, sunset 2024-12-21 20:05 AEDT", -33.8688, 151.2093, Utc(2024, 12, 21, 9, 5)},
         })
        EXPECT_NEAR(SunElevationDeg(e.latitude, e.longitude, e.utc), -0.833, 0.35) << e.place;
}

TEST(SunElevation, NightAndDayInDecemberAt48North11East) {
    EXPECT_LT(SunElevationDeg(48, 11, Utc(2026, 12, 7, 22, 0)), kNightBelowDeg);
    EXPECT_GT(SunElevationDeg(48, 11, Utc(2026, 12, 7, 12, 0)), 15.0);  // about 19° at noon
    EXPECT_NEAR(SunElevationDeg(0, 0, Utc(2024, 3, 20, 12, 7)), 90.0, 1.0);  // equinox, overhead
}

}  // namespace
}  // namespace moltrevane
