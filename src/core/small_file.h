#pragma once
// The program's own small files in its folder: read only when they are plain files, replaced
// whole or not at all.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace moltrevane {

// At most `limit` bytes of a regular file; nothing for a missing file or any other kind (a
// FIFO would block the start, a device would be read for ever).
std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, std::size_t limit);

// Replaces the file atomically (temporary file, flush to disk, rename, flush of the folder),
// through a symbolic link (a dotfile manager's) and keeping the file's mode. A file the user
// cannot or chose not to write, or one that is no plain file, stays as it is: false.
bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

// Temporary files "NAME.XXXXXX" that a run killed between writing and renaming left beside it.
void RemoveLeftovers(const std::filesystem::path& file);

}  // namespace moltrevane
