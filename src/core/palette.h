// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Day or night colours: chosen by the user, or by the sun at the own position.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "geo/locator.h"

namespace moltrevane {

enum class PaletteChoice { Auto, Day, Night };

// "auto", "day" or "night", as Moltrevane.ini holds it.
std::string_view PaletteName(PaletteChoice choice);
// Any letter case; nothing for any other text.
std::optional<PaletteChoice> PaletteFromName(std::string_view name);

// Auto is night when the sun is more than 6° below the horizon at the own position; without
// a position it is day.
bool NightWanted(PaletteChoice choice, std::optional<GeoPoint> own, std::int64_t utcSeconds);

// The receiver's clock: the last UTC time it gave, and when that came by the machine's
// monotonic clock. On a Pi without a clock battery or network the machine's own clock can be
// hours off; while the fix is lost the palette goes on by the receiver's.
struct ReceiverClock {
    std::int64_t utcSeconds = 0;
    std::chrono::steady_clock::time_point at;
};
std::int64_t ReceiverUtcNow(const ReceiverClock& clock, std::chrono::steady_clock::time_point now);

}  // namespace moltrevane
