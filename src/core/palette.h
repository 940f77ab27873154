#pragma once
// Day or night colours: chosen by the user, or by the sun at the own position.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/small_file.h"
#include "geo/locator.h"

namespace moltrevane {

enum class PaletteChoice { Auto, Day, Night };

// The choice's file, beside the settings file; it holds "Auto", "Day" or "Night".
inline constexpr std::string_view kPaletteFileName = "Moltrevane.palette";

inline std::filesystem::path PaletteFileBeside(const std::filesystem::path& settingsFile) {
    return settingsFile.parent_path() / kPaletteFileName;
}

// Auto for a missing file and for any text but the three. Read once at start, which is when
// a temporary file a killed run left goes.
PaletteChoice ReadPaletteChoice(const std::filesystem::path& file);
FileWritten SavePaletteChoice(const std::filesystem::path& file, PaletteChoice choice);

// Auto is night when the sun is more than 6° below the horizon at the own position; without
// a position it is day.
bool NightWanted(PaletteChoice choice, std::optional<GeoPoint> own, std::int64_t utcSeconds);

}  // namespace moltrevane
