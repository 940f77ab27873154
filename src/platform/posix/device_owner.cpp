// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/device_owner.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace moltrevane {
namespace {

// Linux gives Unix 98 pseudo-terminal slaves the majors 136 … 143.
constexpr unsigned kFirstPtyMajor = 136, kLastPtyMajor = 143;

bool IsProcessFolder(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

// True when found(entry) is true for an entry of the folder. Folders of /proc vanish while
// being read; whatever cannot be read is passed over.
template <class Found>
bool AnyEntry(const std::filesystem::path& folder, Found found) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (found(it->path())) return true;
    return false;
}

}  // namespace

LinkIdentity LinkIdentityOf(const std::filesystem::path& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {};
    return {link.st_ino, link.st_ctim.tv_sec, link.st_ctim.tv_nsec};
}

bool IsPseudoTerminal(dev_t device) {
    return major(device) >= kFirstPtyMajor && major(device) <= kLastPtyMajor;
}

bool HeldByAnotherProcess(dev_t device) {
    const std::string self = std::to_string(::getpid());
    return AnyEntry("/proc", [&](const std::filesystem::path& process) {
        if (!IsProcessFolder(process) || process.filename() == self) return false;
        return AnyEntry(process / "fd", [&](const std::filesystem::path& fd) {
            struct stat target {};
            return ::stat(fd.c_str(), &target) == 0 && S_ISCHR(target.st_mode) && target.st_rdev == device;
        });
    });
}

}  // namespace moltrevane
