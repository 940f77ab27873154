#pragma once
// Day or night colours: chosen by the user, or by the sun at the own position.

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

}  // namespace moltrevane
