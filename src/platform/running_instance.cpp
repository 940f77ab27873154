#include "platform/running_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace moltrevane {
namespace {

constexpr const char* kLockName = ".Moltrevane.lock";
constexpr const char* kSocketName = ".Moltrevane.socket";
constexpr auto kAskingTime = std::chrono::milliseconds(1000);

// The socket by way of the folder's descriptor: short whatever the folder's path, and the
// folder that was checked.
sockaddr_un SocketAddress(int folderFd, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = "/proc/self/fd/" + std::to_string(folderFd) + "/" + kSocketName;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return address;
}

bool OwnedByMe(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid();
}

UniqueFd Listen(int folderFd) {
    socklen_t length = 0;
    const sockaddr_un address = SocketAddress(folderFd, length);
    ::unlinkat(folderFd, kSocketName, 0);  // a run that ended without removing it
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd || ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::fchmodat(folderFd, kSocketName, 0600, 0) != 0 || ::listen(fd.get(), 4) != 0)
        return {};
    return fd;
}

// A full queue (a run that hangs) refuses at once; asking again until the deadline is enough.
void AskToComeForward(int folderFd) {
    socklen_t length = 0;
    const sockaddr_un address = SocketAddress(folderFd, length);
    const auto deadline = std::chrono::steady_clock::now() + kAskingTime;
    do {
        const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd) return;
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) == 0 || errno != EAGAIN) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
}

}  // namespace

RunningInstance::RunningInstance(const std::filesystem::path& programFolder) {
    folder_.reset(::open(programFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder_ || !OwnedByMe(folder_.get())) return;
    lock_.reset(::openat(folder_.get(), kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    // Another user's lock file (in a folder others may write) guards nothing of ours.
    if (!lock_ || !OwnedByMe(lock_.get())) return;
    if (::flock(lock_.get(), LOCK_EX | LOCK_NB) == 0) {
        listener_ = Listen(folder_.get());
        return;
    }
    otherRuns_ = errno == EWOULDBLOCK;
    if (otherRuns_) AskToComeForward(folder_.get());
}

bool RunningInstance::AskedToComeForward() const {
    const UniqueFd asked(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    ucred peer{};
    socklen_t length = sizeof peer;
    return asked && ::getsockopt(asked.get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

}  // namespace moltrevane
