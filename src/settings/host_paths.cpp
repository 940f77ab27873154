// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/host_paths.h"

#include <system_error>

namespace moltrevane {

std::filesystem::path HostPath(const std::filesystem::path& root, std::string_view devicePath) {
    return root / std::filesystem::path(devicePath).relative_path();
}

void CreateProgramFolders(const std::filesystem::path& root) {
    std::error_code ignored;
    std::filesystem::create_directory(HostPath(root, "/Programme"), ignored);
    std::filesystem::create_directory(HostPath(root, kProgramFolder), ignored);
}

}  // namespace moltrevane
