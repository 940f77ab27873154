// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings record: 31 single-byte characters, no line end.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "settings/small_file.h"

namespace moltrevane {

struct AppState;

using AppSettings = std::array<char, 31>;

AppSettings EncodeSettings(const AppState& state, std::string_view targetText);

// Applies the record's positions in order and returns the target locator it held; positions
// past a short record keep the no-file defaults. Opens nothing: whether a port is to be read,
// `portActive` says, for the caller to act on.
std::string ApplySettings(AppState& state, std::string_view record);

// The same from the file; no file: every filter flag set, all else as it was, no target.
std::string loadSettings(AppState& state, const std::filesystem::path& file);

// Replaces the file as ReplaceFile does; on any failure the old file stays as it was.
FileWritten saveSettings(const AppState& state, std::string_view targetText, const std::filesystem::path& file);

}  // namespace moltrevane
