// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moltrevane.ini beside the settings record: the settings the 31 bytes have no room for.

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "settings/ini_text.h"
#include "settings/small_file.h"

namespace moltrevane {

struct AppState;

inline constexpr std::string_view kIniFileName = "Moltrevane.ini";
// A larger file is not ours to rewrite: it is neither read nor replaced.
inline constexpr std::size_t kIniLargest = 64 * 1024;

inline std::filesystem::path IniFileBeside(const std::filesystem::path& settingsFile) {
    return settingsFile.parent_path() / kIniFileName;
}

// Each known key whose value is valid sets its field; the rest keep theirs.
void ApplyIniValues(AppState& state, const IniValues& values);
IniValues IniValuesOf(const AppState& state);

// Also takes over the palette of an older Moltrevane.palette, once: from then on the ini
// file holds it and the old file is gone.
void LoadIni(AppState& state, const std::filesystem::path& settingsFile);

// Rewrites the file with the state's values, as the user left it otherwise; a failure when it
// could not be written or is not ours to rewrite (larger than kIniLargest, no plain file, a
// link to another user's file), in words that say which.
FileWritten SaveIni(const AppState& state, const std::filesystem::path& settingsFile);

}  // namespace moltrevane
