#include "platform/running_instance.h"

#include <FL/Fl.H>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <functional>
#include <string>

namespace moltrevane {
namespace {

// An abstract socket (Linux): nothing in the file system, gone with the process that held it.
sockaddr_un AddressFor(const std::filesystem::path& programFolder, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "moltrevane:" + std::to_string(std::hash<std::string>{}(programFolder.string()));
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] stays 0: abstract
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

}  // namespace

RunningInstance::RunningInstance(const std::filesystem::path& programFolder) {
    socklen_t length = 0;
    const sockaddr_un address = AddressFor(programFolder, length);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return;  // without sockets every start runs on its own
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) == 0 && ::listen(fd.get(), 4) == 0) {
        listener_ = std::move(fd);
        return;
    }
    const UniqueFd asking(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    otherAsked_ = asking && ::connect(asking.get(), reinterpret_cast<const sockaddr*>(&address), length) == 0;
}

RunningInstance::~RunningInstance() {
    if (listener_ && comeForward_) Fl::remove_fd(listener_.get());
}

void RunningInstance::Listen(std::function<void()> comeForward) {
    if (!listener_) return;
    comeForward_ = std::move(comeForward);
    Fl::add_fd(listener_.get(), FL_READ, Accept, this);
}

void RunningInstance::Accept(int fd, void* self) {
    const UniqueFd asked(::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC));
    if (asked) static_cast<RunningInstance*>(self)->comeForward_();
}

}  // namespace moltrevane
