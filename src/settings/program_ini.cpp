// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/program_ini.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
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

constexpr std::array<TuneMode, 3> kTuneModes = {TuneMode::Off, TuneMode::Tap, TuneMode::Follow};
constexpr std::array<std::string_view, 3> kTuneNames = {"off", "tap", "follow"};

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

// "FM, DMR": the modes' names in their order, as the settings screen lists them.
std::string ModesText(VoiceModes modes) {
    std::string text;
    for (std::size_t i = 0; i < kVoiceModes; ++i)
        if (modes & ModeBit(static_cast<VoiceMode>(i))) text += (text.empty() ? "" : ", ") + std::string(kVoiceModeNames[i]);
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y)); });
}

// Names split at commas, in any order and letter case; nothing when one is no mode's name, so
// that a typing error keeps every mode rather than hiding stations. Empty: no mode.
std::optional<VoiceModes> ModesFromText(std::string_view text) {
    VoiceModes modes = 0;
    while (!text.empty()) {
        const std::size_t comma = std::min(text.find(','), text.size());
        std::string_view name = text.substr(0, comma);
        name.remove_prefix(std::min(name.find_first_not_of(" \t"), name.size()));
        name.remove_suffix(name.size() - std::min(name.find_last_not_of(" \t") + 1, name.size()));
        const auto known = std::find_if(kVoiceModeNames.begin(), kVoiceModeNames.end(),
                                        [&](std::string_view mode) { return SameIgnoringCase(mode, name); });
        if (known == kVoiceModeNames.end()) return std::nullopt;
        modes |= ModeBit(static_cast<VoiceMode>(known - kVoiceModeNames.begin()));
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return modes;
}

// The file's text (empty when there is none), or why it is not ours to read and rewrite.
struct IniFileText {
    std::string text;
    std::string refused;
};
IniFileText ReadIniText(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return errno == ENOENT ? IniFileText{} : IniFileText{{}, std::strerror(errno)};
    if (!S_ISREG(info.st_mode)) return {{}, "not a plain file"};
    if (static_cast<std::uintmax_t>(info.st_size) > kIniLargest) return {{}, "larger than 64 KiB, neither read nor rewritten"};
    std::optional<std::string> text = ReadSmallFile(file, kIniLargest + 1);
    if (!text) return {{}, "could not be read"};
    if (text->size() > kIniLargest) return {{}, "larger than 64 KiB, neither read nor rewritten"};  // grew meanwhile
    return {std::move(*text), {}};
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
    ApplyOnOff(state.rig.on, values, "rig");
    ApplyAddress(state.rig.address, values, "rig_address");
    if (const auto i = Named(values, "tune", kTuneNames)) state.rig.tune = kTuneModes[*i];
    if (const auto i = Named(values, "follow", kFollowNames)) state.drive.followKm = kFollowKmChoices[*i];
    if (const auto i = Named(values, "alert", kAlertNames)) state.drive.alert = kAlertModes[*i];
    if (const auto i = Named(values, "locator", kLocatorNames)) state.drive.locatorLength = kLocatorLengths[*i];
    ApplyOnOff(state.drive.told.nearest, values, "alert_nearest");
    if (const auto i = Named(values, "alert_square", kSquareNames)) state.drive.told.squareLength = kSquareLengths[*i];
    ApplyOnOff(state.drive.told.fix, values, "alert_fix");
    ApplyOnOff(state.fullScreen, values, "fullscreen");
    if (const auto found = values.find("keypad"); found != values.end())
        if (const auto on = OnOff(found->second)) state.keypad = *on;
    if (const auto found = values.find("modes"); found != values.end())
        state.shownModes = ModesFromText(found->second).value_or(state.shownModes);
}

IniValues IniValuesOf(const AppState& state) {
    IniValues values{
        {"palette", std::string(PaletteName(state.palette))},
        {"wsjtx", std::string(OnOffName(state.links.wsjtx))},
        {"wsjtx_address", state.links.wsjtxAddress},
        {"js8call", std::string(OnOffName(state.links.js8call))},
        {"js8call_address", state.links.js8callAddress},
        {"rig", std::string(OnOffName(state.rig.on))},
        {"rig_address", state.rig.address},
        {"tune", std::string(kTuneNames[PlaceOf(state.rig.tune, kTuneModes)])},
        {"follow", std::string(kFollowNames[PlaceOf(state.drive.followKm, kFollowKmChoices)])},
        {"alert", std::string(kAlertNames[PlaceOf(state.drive.alert, kAlertModes)])},
        {"locator", std::string(kLocatorNames[PlaceOf(state.drive.locatorLength, kLocatorLengths)])},
        {"alert_nearest", std::string(OnOffName(state.drive.told.nearest))},
        {"alert_square", std::string(kSquareNames[PlaceOf(state.drive.told.squareLength, kSquareLengths)])},
        {"alert_fix", std::string(OnOffName(state.drive.told.fix))},
        {"fullscreen", std::string(OnOffName(state.fullScreen))},
        {"modes", ModesText(state.shownModes)},
    };
    // Unchosen, the keypad follows the panel: no line that would fix it.
    if (state.keypad) values.emplace("keypad", std::string(OnOffName(*state.keypad)));
    return values;
}

void LoadIni(AppState& state, const std::filesystem::path& settingsFile) {
    const std::filesystem::path file = IniFileBeside(settingsFile);
    RemoveLeftovers(file);
    const IniFileText read = ReadIniText(file);
    const IniValues values = ParseIni(read.text);
    ApplyIniValues(state, values);
    const std::filesystem::path oldPalette = settingsFile.parent_path() / kOldPaletteFileName;
    if (values.contains("palette") || !read.refused.empty()) return;
    const std::optional<PaletteChoice> old = ReadOldPaletteFile(oldPalette);
    if (!old) return;
    state.palette = *old;
    std::error_code error;
    if (SaveIni(state, settingsFile)) std::filesystem::remove(oldPalette, error);
}

FileWritten SaveIni(const AppState& state, const std::filesystem::path& settingsFile) {
    const std::filesystem::path file = IniFileBeside(settingsFile);
    const IniFileText read = ReadIniText(file);
    if (!read.refused.empty()) return {file.string() + ": " + read.refused};
    const std::string rewritten = WithIniValues(read.text, IniValuesOf(state));
    return rewritten == read.text ? FileWritten{} : ReplaceFile(file, rewritten);
}

}  // namespace moltrevane
