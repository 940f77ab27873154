#pragma once
// The settings record: 31 single-byte characters, no line end.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "settings/small_file.h"

namespace moltrevane {

struct AppState;
class GpsSource;

using AppSettings = std::array<char, 31>;

AppSettings EncodeSettings(const AppState& state, std::string_view targetText);

// Applies the record's positions in order; positions past a short record keep the
// no-file defaults. Opens the port at once when position 2 says so.
void ApplySettings(AppState& state, std::string& targetText, std::string_view record, GpsSource& port);

// No file: every filter flag set, all else as it was.
void loadSettings(AppState& state, std::string& targetText, GpsSource& port, const std::filesystem::path& file);

// Replaces the file as ReplaceFile does; on any failure the old file stays as it was.
FileWritten saveSettings(const AppState& state, std::string_view targetText, const std::filesystem::path& file);

}  // namespace moltrevane
