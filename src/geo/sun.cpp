// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/sun.h"

#include <cmath>
#include <numbers>

namespace moltrevane {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

double Sin(double degrees) { return std::sin(degrees * kRadians); }
double Cos(double degrees) { return std::cos(degrees * kRadians); }

}  // namespace

double SunElevationDeg(double latitude, double longitude, std::int64_t utcSeconds) {
    const double julianDay = static_cast<double>(utcSeconds) / 86400.0 + 2440587.5;
    const double t = (julianDay - 2451545.0) / 36525.0;  // Julian centuries since J2000
    const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double centre = Sin(meanAnomaly) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          Sin(2 * meanAnomaly) * (0.019993 - 0.000101 * t) + Sin(3 * meanAnomaly) * 0.000289;
    const double omega = 125.04 - 1934.136 * t;
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * Sin(omega);
    const double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * Cos(omega);
    const double declination = std::asin(Sin(obliquity) * Sin(apparentLongitude)) / kRadians;

    const double y = std::pow(std::tan(obliquity / 2 * kRadians), 2);
    const double equationOfTimeMinutes =
        4.0 / kRadians *
        (y * Sin(2 * meanLongitude) - 2 * eccentricity * Sin(meanAnomaly) +
         4 * eccentricity * y * Sin(meanAnomaly) * Cos(2 * meanLongitude) - 0.5 * y * y * Sin(4 * meanLongitude) -
         1.25 * eccentricity * eccentricity * Sin(2 * meanAnomaly));
    const double minuteOfDay = static_cast<double>(((utcSeconds % 86400) + 86400) % 86400) / 60.0;
    const double hourAngle = (minuteOfDay + equationOfTimeMinutes + 4 * longitude) / 4.0 - 180.0;
    const double cosZenith = Sin(latitude) * Sin(declination) + Cos(latitude) * Cos(declination) * Cos(hourAngle);
    return 90.0 - std::acos(std::fmax(-1.0, std::fmin(1.0, cosZenith))) / kRadians;
}

}  // namespace moltrevane
