#include "core/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/unique_fd.h"

namespace moltrevane {
namespace {

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written <= 0) return false;
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

bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path target = FileBehindLinks(file);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;
    std::string temporary = target.string() + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd) return false;
    if (exists) ::fchmod(fd.get(), old.st_mode & 07777);
    const bool written = WriteAll(fd.get(), bytes.data(), bytes.size()) && ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is on disk only once the folder is: without this a power cut may undo it.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd) ::fsync(folderFd.get());
    return true;
}

void RemoveLeftovers(const std::filesystem::path& file) {
    const std::filesystem::path target = FileBehindLinks(file);
    const std::string prefix = target.filename().string() + ".";
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) && it->is_regular_file(error))
            std::filesystem::remove(it->path(), error);
    }
}

}  // namespace moltrevane
