#include "settings/program_ini.h"

#include <array>
#include <optional>
#include <string>
#include <system_error>

#include "core/app_state.h"
#include "settings/small_file.h"

namespace moltrevane {
namespace {

constexpr std::size_t kLongestAddress = 100;

std::optional<bool> OnOff(std::string_view value) {
    if (value == "on") return true;
    if (value == "off") return false;
    return std::nullopt;
}

std::string_view OnOffName(bool on) { return on ? "on" : "off"; }

void ApplyAddress(std::string& field, const IniValues& values, std::string_view key) {
    const auto found = values.find(key);
    if (found != values.end() && !found->second.empty() && found->second.size() <= kLongestAddress)
        field = found->second;
}

void ApplyOnOff(bool& field, const IniValues& values, std::string_view key) {
    const auto found = values.find(key);
    if (found == values.end()) return;
    if (const auto on = OnOff(found->second)) field = *on;
}

// A value of a key whose values are named in a table: its place there.
template <std::size_t N>
std::optional<std::size_t> Named(const IniValues& values, std::string_view key, const std::array<std::string_view, N>& names) {
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    for (std::size_t i = 0; i < N; ++i)
        if (found->second == names[i]) return i;
    return std::nullopt;
}

// The file's text: empty when there is none, nothing when it is not ours to rewrite.
std::optional<std::string> ReadIniText(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) return std::string();
    std::optional<std::string> text = ReadSmallFile(file, kIniLargest + 1);
    if (text && text->size() > kIniLargest) return std::nullopt;
    return text;
}

// The file that held the choice before Moltrevane.ini, beside the settings file: "Auto",
// "Day" or "Night" and a line end. Nothing when it is missing or holds anything else.
constexpr std::string_view kOldPaletteFileName = "Moltrevane.palette";
std::optional<PaletteChoice> ReadOldPaletteFile(const std::filesystem::path& file) {
    const std::optional<std::string> text = ReadSmallFile(file, 16);
    if (!text || !text->ends_with('\n')) return std::nullopt;
    return PaletteFromName(std::string_view(*text).substr(0, text->size() - 1));
}

}  // namespace

void ApplyIniValues(AppState& state, const IniValues& values) {
    if (const auto found = values.find("palette"); found != values.end())
        state.palette = PaletteFromName(found->second).value_or(state.palette);
    ApplyOnOff(state.links.wsjtx, values, "wsjtx");
    ApplyAddress(state.links.wsjtxAddress, values, "wsjtx_address");
    ApplyOnOff(state.links.js8call, values, "js8call");
    ApplyAddress(state.links.js8callAddress, values, "js8call_address");
    if (const auto i = Named(values, "follow", kFollowNames)) state.drive.followKm = kFollowKmChoices[*i];
    if (const auto i = Named(values, "alert", kAlertNames)) state.drive.alert = kAlertModes[*i];
    if (const auto i = Named(values, "locator", kLocatorNames)) state.drive.locatorLength = kLocatorLengths[*i];
    ApplyOnOff(state.drive.told.nearest, values, "alert_nearest");
    if (const auto i = Named(values, "alert_square", kSquareNames)) state.drive.told.squareLength = kSquareLengths[*i];
    ApplyOnOff(state.drive.told.fix, values, "alert_fix");
}

IniValues IniValuesOf(const AppState& state) {
    return {
        {"palette", std::string(PaletteName(state.palette))},
        {"wsjtx", std::string(OnOffName(state.links.wsjtx))},
        {"wsjtx_address", state.links.wsjtxAddress},
        {"js8call", std::string(OnOffName(state.links.js8call))},
        {"js8call_address", state.links.js8callAddress},
        {"follow", std::string(kFollowNames[PlaceOf(state.drive.followKm, kFollowKmChoices)])},
        {"alert", std::string(kAlertNames[PlaceOf(state.drive.alert, kAlertModes)])},
        {"locator", std::string(kLocatorNames[PlaceOf(state.drive.locatorLength, kLocatorLengths)])},
        {"alert_nearest", std::string(OnOffName(state.drive.told.nearest))},
        {"alert_square", std::string(kSquareNames[PlaceOf(state.drive.told.squareLength, kSquareLengths)])},
        {"alert_fix", std::string(OnOffName(state.drive.told.fix))},
    };
}

void LoadIni(AppState& state, const std::filesystem::path& settingsFile) {
    const std::filesystem::path file = IniFileBeside(settingsFile);
    RemoveLeftovers(file);
    const std::optional<std::string> text = ReadIniText(file);
    const IniValues values = ParseIni(text.value_or(""));
    ApplyIniValues(state, values);
    const std::filesystem::path oldPalette = settingsFile.parent_path() / kOldPaletteFileName;
    if (values.contains("palette") || !text) return;
    const std::optional<PaletteChoice> old = ReadOldPaletteFile(oldPalette);
    if (!old) return;
    state.palette = *old;
    std::error_code error;
    if (SaveIni(state, settingsFile)) std::filesystem::remove(oldPalette, error);
}

FileWritten SaveIni(const AppState& state, const std::filesystem::path& settingsFile) {
    const std::filesystem::path file = IniFileBeside(settingsFile);
    const std::optional<std::string> text = ReadIniText(file);
    if (!text) return {file.string() + ": too large, or not a plain file"};
    const std::string rewritten = WithIniValues(*text, IniValuesOf(state));
    return rewritten == *text ? FileWritten{} : ReplaceFile(file, rewritten);
}

}  // namespace moltrevane
