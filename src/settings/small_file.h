// SPDX-License-Identifier: GPL-3.0-or-later
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

// How a replacement went: true when the file holds the new bytes; otherwise the file and why it
// does not ("…/Moltrevane.cfg: No space left on device"), in words the user is shown.
struct FileWritten {
    std::string failure;
    explicit operator bool() const { return failure.empty(); }
};

// Replaces the file atomically (temporary file beside it, flush to disk, rename over it, flush
// of the folder), keeping the file's mode, owner and group. Through a symbolic link only to a
// file of the same user (a dotfile manager's). A file the user cannot or chose not to write,
// one that is no plain file, another user's, or a link to one, stays as it is.
FileWritten ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

// Removes the temporary files of ReplaceFile that a run killed between writing and renaming
// left beside `file`; only those, never a file of the user's, and nothing beside a link's target.
void RemoveLeftovers(const std::filesystem::path& file);

}  // namespace moltrevane
