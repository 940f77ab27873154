// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/distance.h"

#include <algorithm>
#include <cmath>
#include <limits>


namespace moltrevane {
namespace {

constexpr double k = kDegToRad;
constexpr double kEquatorialDiameterKm = 12756.28;
constexpr double kFlattening = 1 / 298.257;
constexpr double kNearThreshold = 0.999995;
constexpr double kNearRadiusKm = 6371.299;
constexpr double kPi = 3.14159265358979323846;
// Pole to pole along a meridian, to the same first order in the flattening.
constexpr double kHalfMeridianKm = (1 - kFlattening / 2) * (kPi / 2) * kEquatorialDiameterKm;
// No two points on the earth lie farther apart than half the equator.
constexpr double kHalfEquatorKm = kPi / 2 * kEquatorialDiameterKm;

double Square(double x) { return x * x; }

double ArcCosine(double x) { return std::acos(std::clamp(x, -1.0, 1.0)); }

bool AreAntipodal(double lat1, double lon1, double lat2, double lon2) {
    if (lat1 != -lat2) return false;
    return std::fabs(lat1) == 90.0 || std::fmod(std::fabs(lon1 - lon2), 360.0) == 180.0;
}

double EllipsoidKm(double phi1, double lambda1, double phi2, double lambda2) {
    const double f = (phi2 + phi1) / 2;
    const double g = (phi1 - phi2) / 2;
    const double l = (lambda1 - lambda2) / 2;
    const double sin2F = Square(std::sin(f)), cos2F = Square(std::cos(f));
    const double sin2G = Square(std::sin(g)), cos2G = Square(std::cos(g));
    const double sin2L = Square(std::sin(l)), cos2L = Square(std::cos(l));
    const double s = sin2L * cos2F + cos2L * sin2G;
    const double t = sin2L * sin2F + cos2L * cos2G;
    const double omega = std::atan(std::sqrt(s / t));
    const double r = std::sqrt(s * t) / omega;
    const double h1 = (3 * r - 1) / (2 * t);
    const double h2 = (3 * r + 1) / (2 * s);
    const double correction = 1 + h1 * cos2G * sin2F * kFlattening - h2 * sin2G * cos2F * kFlattening;
    return correction * omega * kEquatorialDiameterKm;
}

// Differences are taken the short way round however many turns lie between the two angles
// (positions decoded from characters outside the locator's alphabet lie far beyond ±180°).
double FlatKm(double phi1, double lambda1, double phi2, double lambda2) {
    const double deltaLambda = std::remainder(lambda2 - lambda1, 2 * kPi);
    const double deltaPhi = std::remainder(phi2 - phi1, 2 * kPi);
    return kNearRadiusKm * std::sqrt(Square(deltaLambda * std::cos((phi1 + phi2) / 2)) + Square(deltaPhi));
}

std::string RoundedUpText(double value, const char* unit) {
    const double rounded = std::ceil(value);
    if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max())) return {};
    return std::to_string(static_cast<int>(rounded)) + unit;
}

}  // namespace

double CentralAngle(double lat1, double lon1, double lat2, double lon2) {
    return ArcCosine(std::cos(k * (lon1 - lon2)) * std::cos(k * lat2) * std::cos(k * lat1) +
                     std::sin(k * lat2) * std::sin(k * lat1));
}

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    if (AreAntipodal(lat1, lon1, lat2, lon2)) return kHalfMeridianKm;
    const double phi1 = k * lat1, lambda1 = k * lon1, phi2 = k * lat2, lambda2 = k * lon2;
    const double u = std::cos(lambda1 - lambda2) * std::cos(phi2) * std::cos(phi1) + std::sin(phi2) * std::sin(phi1);
    if (!(u < kNearThreshold)) return std::min(FlatKm(phi1, lambda1, phi2, lambda2), kHalfEquatorKm);
    const double km = EllipsoidKm(phi1, lambda1, phi2, lambda2);
    return std::isfinite(km) ? km : kHalfMeridianKm;
}

double BearingDeg(double lat1, double lon1, double lat2, double lon2) {
    // On one meridian the formula's cancellation leaves a trace of east or west in it.
    if (lon1 == lon2 && lat1 != lat2) return lat2 > lat1 ? 360.0 : 180.0;
    const double sigma = CentralAngle(lat1, lon1, lat2, lon2);
    const double ratio =
        (std::sin(k * lat2) - std::sin(k * lat1) * std::cos(sigma)) / (std::sin(sigma) * std::cos(k * lat1));
    if (std::isnan(ratio)) return 0.0;  // identical points, or a start on a pole
    const double t = ArcCosine(ratio) / k;
    const bool crossesAntimeridian = !(lon1 - lon2 <= 180 && lon2 - lon1 <= 180);
    const bool eastward = crossesAntimeridian ? lon1 > lon2 : lon1 < lon2;
    return eastward ? t : 360 - t;
}

std::string DistanceText(double km) { return RoundedUpText(km, " km"); }

std::string BearingText(double degrees) { return RoundedUpText(degrees, " \xB0"); }

DistanceBearingTexts DescribeDistanceAndBearing(GeoPoint own, GeoPoint target) {
    const double lat1 = own.latitude, lon1 = own.longitude;
    const double lat2 = target.latitude, lon2 = target.longitude;
    const bool coincident = lat1 == lat2 && lon1 == lon2;
    return {DistanceText(DistanceKm(lat1, lon1, lat2, lon2)),
            coincident ? std::string() : BearingText(BearingDeg(lat1, lon1, lat2, lon2))};
}

}  // namespace moltrevane
