// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings.h"

#include <algorithm>
#include <optional>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "settings/small_file.h"

namespace moltrevane {
namespace {

constexpr std::size_t kPortPosition = 0, kSpeedPosition = 1, kActivePosition = 2;
constexpr std::size_t kOfflinePosition = 4, kTargetPosition = 11, kReservedPosition = 29;

void SetAllFlags(AppState& state) {
    for (const FilterFlag& flag : kFilterFlags) state.*flag.field = true;
}

// The six bytes of a locator field, cut at a zero byte or at the record's end.
std::string_view LocatorField(std::string_view record, std::size_t position) {
    if (position >= record.size()) return {};
    const std::string_view field = record.substr(position, 6);
    return field.substr(0, field.find('\0'));
}

void PutLocator(AppSettings& record, std::size_t position, std::string_view text) {
    const LocatorText locator = ToLocatorText(text);
    std::copy_n(locator.begin(), 6, record.begin() + static_cast<std::ptrdiff_t>(position));
}

int IndexFromDigit(char digit) { return static_cast<unsigned char>(digit) - '1'; }

}  // namespace

AppSettings EncodeSettings(const AppState& state, std::string_view targetText) {
    AppSettings record;
    record.fill('-');
    record[kPortPosition] = static_cast<char>(state.portIndex + '1');
    record[kSpeedPosition] = static_cast<char>(state.speedIndex + '1');
    record[kActivePosition] = state.portActive ? '1' : '0';
    PutLocator(record, kOfflinePosition, LocatorView(state.offlineLocator));
    PutLocator(record, kTargetPosition, targetText);
    for (const FilterFlag& flag : kFilterFlags) record[flag.recordPosition] = state.*flag.field ? '1' : '0';
    record[kReservedPosition] = '0';
    return record;
}

std::string ApplySettings(AppState& state, std::string_view record) {
    SetAllFlags(state);
    if (record.size() > kPortPosition) state.portIndex = IndexFromDigit(record[kPortPosition]);
    if (record.size() > kSpeedPosition) state.speedIndex = IndexFromDigit(record[kSpeedPosition]);
    state.portActive = record.size() > kActivePosition && record[kActivePosition] == '1';
    state.offlineLocator = ToLocatorText(LocatorField(record, kOfflinePosition));
    for (const FilterFlag& flag : kFilterFlags)
        if (flag.recordPosition < record.size()) state.*flag.field = record[flag.recordPosition] == '1';
    return std::string(LocatorField(record, kTargetPosition));
}

std::string loadSettings(AppState& state, const std::filesystem::path& file) {
    RemoveLeftovers(file);
    const std::optional<std::string> record = ReadSmallFile(file, std::tuple_size_v<AppSettings>);
    if (!record) {
        SetAllFlags(state);
        return {};
    }
    return ApplySettings(state, *record);
}

FileWritten saveSettings(const AppState& state, std::string_view targetText, const std::filesystem::path& file) {
    const AppSettings record = EncodeSettings(state, targetText);
    return ReplaceFile(file, std::string_view(record.data(), record.size()));
}

}  // namespace moltrevane
