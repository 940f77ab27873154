#include "core/palette.h"

#include <array>
#include <string>

#include "core/small_file.h"
#include "geo/sun.h"

namespace moltrevane {
namespace {

constexpr std::array<std::string_view, 3> kNames = {"Auto", "Day", "Night"};  // by PaletteChoice

}  // namespace

PaletteChoice ReadPaletteChoice(const std::filesystem::path& file) {
    RemoveLeftovers(file);
    const std::optional<std::string> text = ReadSmallFile(file, 16);
    for (std::size_t i = 0; text && i < kNames.size(); ++i)
        if (*text == std::string(kNames[i]) + "\n") return static_cast<PaletteChoice>(i);
    return PaletteChoice::Auto;
}

FileWritten SavePaletteChoice(const std::filesystem::path& file, PaletteChoice choice) {
    return ReplaceFile(file, std::string(kNames[static_cast<std::size_t>(choice)]) + "\n");
}

bool NightWanted(PaletteChoice choice, std::optional<GeoPoint> own, std::int64_t utcSeconds) {
    if (choice != PaletteChoice::Auto) return choice == PaletteChoice::Night;
    return own && SunElevationDeg(own->latitude, own->longitude, utcSeconds) < kNightBelowDeg;
}

}  // namespace moltrevane
