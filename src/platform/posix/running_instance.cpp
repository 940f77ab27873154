// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/running_instance.h"

#include <fcntl.h>
#include <poll.h>
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

bool OwnedByMe(int folderFd, const char* name) {
    struct stat info {};
    return ::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && info.st_uid == ::geteuid();
}

bool PeerIsMe(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

UniqueFd Listen(int folderFd) {
    socklen_t length = 0;
    const sockaddr_un address = SocketAddress(folderFd, length);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd || ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) return {};
    if (::fchmodat(folderFd, kSocketName, 0600, 0) != 0 || ::listen(fd.get(), 4) != 0) {
        ::unlinkat(folderFd, kSocketName, 0);
        return {};
    }
    return fd;
}

enum class Answer { Mine, Nobody, Stranger };

// Asks whoever listens on the socket to come forward. A full queue (a run that hangs) refuses
// at once; asking again until the deadline is enough.
Answer AskToComeForward(int folderFd) {
    socklen_t length = 0;
    const sockaddr_un address = SocketAddress(folderFd, length);
    const auto deadline = std::chrono::steady_clock::now() + kAskingTime;
    for (;;) {
        const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd) return Answer::Stranger;
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) == 0)
            return PeerIsMe(fd.get()) ? Answer::Mine : Answer::Stranger;
        if (errno == ECONNREFUSED || errno == ENOENT) return Answer::Nobody;
        // Still busy at the deadline: a run of this user's that hangs, or not the user's at all.
        if (errno != EAGAIN || std::chrono::steady_clock::now() >= deadline)
            return OwnedByMe(folderFd, kSocketName) ? Answer::Mine : Answer::Stranger;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

RunningInstance::RunningInstance(const std::filesystem::path& programFolder) {
    folder_.reset(::open(programFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder_) return;
    listener_ = Listen(folder_.get());
    if (listener_) return;
    const Answer answer = AskToComeForward(folder_.get());
    otherRuns_ = answer == Answer::Mine;
    // A socket a run of this user's left when it was killed goes; another user's is passed over.
    if (answer == Answer::Nobody && OwnedByMe(folder_.get(), kSocketName) &&
        ::unlinkat(folder_.get(), kSocketName, 0) == 0)
        listener_ = Listen(folder_.get());
}

RunningInstance::~RunningInstance() {
    if (listener_) ::unlinkat(folder_.get(), kSocketName, 0);
}

bool RunningInstance::AskedToComeForward() const {
    const UniqueFd asked(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    return asked && PeerIsMe(asked.get());
}

}  // namespace moltrevane
