// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's device paths live under a host root (the user's home directory).

#include <filesystem>
#include <string_view>

namespace moltrevane {

inline constexpr std::string_view kProgramFolder = "/Programme/Moltrevane";
inline constexpr std::string_view kSettingsFile = "/Programme/Moltrevane/Moltrevane.cfg";
inline constexpr std::string_view kDirectoryFile = "/Programme/Moltrevane/Moltrevane.sqlite";

std::filesystem::path HostPath(const std::filesystem::path& root, std::string_view devicePath);

// "/Programme", then "/Programme/Moltrevane"; failures (they exist, no right) are ignored.
void CreateProgramFolders(const std::filesystem::path& root);

}  // namespace moltrevane
