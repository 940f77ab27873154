// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "directory/station_kind.h"

namespace moltrevane {
namespace {

constexpr double kLowestCtcssHz = 67.0, kHighestCtcssHz = 254.1, kBurstHz = 1750;

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<AccessTone> DcsOf(std::string_view digits) {
    if (digits.size() != 3 || digits.find_first_not_of("01234567") != std::string_view::npos) return std::nullopt;
    return AccessTone{AccessTone::Kind::Dcs, 0, std::stoi(std::string(digits))};
}

// Whole hertz, or one decimal: "127.3", "88.5", "1750".
std::optional<double> ToneHz(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (!AllDigits(whole) || whole.size() > 4) return std::nullopt;
    if (point != std::string_view::npos && (text.size() != point + 2 || !AllDigits(text.substr(point + 1))))
        return std::nullopt;
    double hz = 0;
    std::from_chars(text.data(), text.data() + text.size(), hz);
    return hz;
}

// Decimal degrees as the import writes them: "50.1", "-3.4567"; nothing for other text.
std::optional<double> Degrees(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<AccessTone> AccessToneOf(std::string_view stored) {
    if (stored.size() == 4 && stored[0] == 'D') return DcsOf(stored.substr(1));
    const std::optional<double> hz = ToneHz(stored);
    if (!hz) return std::nullopt;
    if (*hz == kBurstHz) return AccessTone{AccessTone::Kind::Burst, kBurstHz, 0};
    if (*hz >= kLowestCtcssHz && *hz <= kHighestCtcssHz) return AccessTone{AccessTone::Kind::Ctcss, *hz, 0};
    return std::nullopt;
}

std::string StoredTone(const AccessTone& tone) {
    char text[16];
    switch (tone.kind) {
        case AccessTone::Kind::Ctcss: std::snprintf(text, sizeof text, "%.1f", tone.hz); break;
        case AccessTone::Kind::Dcs: std::snprintf(text, sizeof text, "D%03d", tone.code); break;
        case AccessTone::Kind::Burst: return "1750";
    }
    return text;
}

std::optional<GeoPoint> SiteOf(std::string_view loc, std::string_view lat, std::string_view lon) {
    const std::optional<double> latitude = Degrees(lat), longitude = Degrees(lon);
    if (latitude && longitude && *latitude >= -90 && *latitude <= 90 && *longitude >= -180 && *longitude <= 180)
        return GeoPoint{*latitude, *longitude};
    const LocatorText square = ToLocatorText(loc);  // its first six characters, as a search measures it
    if (IsValidLocator(LocatorView(square))) return PositionFromLocator(LocatorView(square));
    return std::nullopt;
}

Station StationOf(const StoredRow& row) {
    const auto& [call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2, lat, lon] = row;
    return Station{call, loc, qth, mode, asl, kanal, FrequencyMhz(aus), FrequencyMhz(ein), AccessToneOf(rem1),
                   SiteOf(loc, lat, lon), rem2.starts_with(kPlacedBySquareRemark)};
}

bool IsCrossBand(const Station& station) {
    return station.outputMhz && station.inputMhz && std::fabs(*station.inputMhz - *station.outputMhz) > 0.05 * *station.outputMhz;
}

}  // namespace moltrevane
