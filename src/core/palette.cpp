// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/palette.h"

#include <algorithm>
#include <array>
#include <string>

#include "geo/sun.h"

namespace moltrevane {
namespace {

constexpr std::array<std::string_view, 3> kNames = {"auto", "day", "night"};  // by PaletteChoice

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return (x | 0x20) == (y | 0x20) && ((x | 0x20) >= 'a' && (x | 0x20) <= 'z'); });
}

}  // namespace

std::string_view PaletteName(PaletteChoice choice) { return kNames[static_cast<std::size_t>(choice)]; }

std::optional<PaletteChoice> PaletteFromName(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (SameLetters(name, kNames[i])) return static_cast<PaletteChoice>(i);
    return std::nullopt;
}

bool NightWanted(PaletteChoice choice, std::optional<GeoPoint> own, std::int64_t utcSeconds) {
    if (choice != PaletteChoice::Auto) return choice == PaletteChoice::Night;
    return own && SunElevationDeg(own->latitude, own->longitude, utcSeconds) < kNightBelowDeg;
}

std::int64_t ReceiverUtcNow(const ReceiverClock& clock, std::chrono::steady_clock::time_point now) {
    return clock.utcSeconds + std::chrono::duration_cast<std::chrono::seconds>(now - clock.at).count();
}

}  // namespace moltrevane
