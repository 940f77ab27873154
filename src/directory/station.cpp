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

Station StationOf(const StoredRow& row) {
    const auto& [call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2] = row;
    Station station{call, loc, qth, mode, asl, kanal, FrequencyMhz(aus), FrequencyMhz(ein), AccessToneOf(rem1), std::nullopt};
    const LocatorText square = ToLocatorText(loc);  // its first six characters, as a search measures it
    if (IsValidLocator(LocatorView(square))) station.point = PositionFromLocator(LocatorView(square));
    return station;
}

}  // namespace moltrevane
