// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/unique_fd.h"

namespace moltrevane {
namespace {

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The file itself, also behind a symbolic link, so that the link stays.
std::filesystem::path FileBehindLinks(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(file, error);
    return error ? file : resolved;
}

// ".NAME.tmp-" and mkstemp's six letters or digits: a hidden name no person would give a file.
std::string TemporaryPrefix(const std::filesystem::path& file) { return "." + file.filename().string() + ".tmp-"; }
constexpr std::size_t kUniqueLetters = 6;

bool IsTemporaryOf(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kUniqueLetters && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// The file as the user named it, and why it was not written.
FileWritten Failed(const std::filesystem::path& file, std::string_view reason) {
    return {file.string() + ": " + std::string(reason)};
}

}  // namespace

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, std::size_t limit) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::string bytes(limit, '\0');
    std::size_t length = 0;
    for (ssize_t n; length < limit && (n = ::read(fd.get(), bytes.data() + length, limit - length)) > 0;)
        length += static_cast<std::size_t>(n);
    bytes.resize(length);
    return bytes;
}

FileWritten ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path target = FileBehindLinks(file);
    struct stat link {};
    const bool linked = ::lstat(file.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return Failed(file, "not a plain file");
    // A link is followed to the user's own file only (a dotfile manager's): one that names a
    // missing file or another user's (as root, say) is neither written through nor replaced.
    if (linked && (!exists || old.st_uid != ::geteuid())) return Failed(file, "a link to another user's file or to none, left as it is");
    if (exists && ((old.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return Failed(file, "the file is read-only");
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string temporary = (folder / TemporaryPrefix(target)).string() + std::string(kUniqueLetters, 'X');
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd) return Failed(file, std::strerror(errno));
    // The new file keeps the old one's owner and group: root saving in a user's folder leaves
    // the user's file the user's. Where it cannot, the file is not replaced by one of ours.
    if (exists && ::fchown(fd.get(), old.st_uid, old.st_gid) != 0 && old.st_uid != ::geteuid()) {
        ::unlink(temporary.c_str());
        return Failed(file, "belongs to another user, left as it is");
    }
    if (exists) ::fchmod(fd.get(), old.st_mode & 07777);
    int error = WriteAll(fd.get(), bytes.data(), bytes.size()) && ::fsync(fd.get()) == 0 ? 0 : errno;
    if (::close(fd.release()) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return Failed(file, std::strerror(error));
    }
    // The rename is on disk only once the folder is: without this a power cut may undo it.
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd) ::fsync(folderFd.get());
    return {};
}

void RemoveLeftovers(const std::filesystem::path& file) {
    const std::string prefix = TemporaryPrefix(file);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (IsTemporaryOf(it->path().filename().string(), prefix) &&
            it->symlink_status(ignored).type() == std::filesystem::file_type::regular)
            std::filesystem::remove(it->path(), ignored);
    }
}

}  // namespace moltrevane
