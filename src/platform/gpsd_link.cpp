#include "platform/gpsd_link.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>
#include <string_view>

namespace moltrevane {
namespace {

struct FreeAddresses {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return std::max(0, static_cast<int>(left.count()));
}

bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    pollfd watched{fd, events, 0};
    int ready;
    while ((ready = ::poll(&watched, 1, RemainingMs(deadline))) < 0 && errno == EINTR) {
    }
    return ready > 0 && (watched.revents & events) != 0;
}

// A non-blocking connection to the first address that answers before the deadline.
UniqueFd Connect(const GpsdAddress& address, std::chrono::steady_clock::time_point deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found) != 0) return {};
    const std::unique_ptr<addrinfo, FreeAddresses> addresses(found);
    for (const addrinfo* a = found; a; a = a->ai_next) {
        UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (!fd) continue;
        if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) != 0 &&
            (errno != EINPROGRESS || !WaitFor(fd.get(), POLLOUT, deadline)))
            continue;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return fd;
    }
    return {};
}

bool SendAll(int fd, std::string_view text, std::chrono::steady_clock::time_point deadline) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            text.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitFor(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// gpsd's reply lines until one satisfies `done` or the deadline passes; lines beyond a
// sensible length are cut, never kept whole.
template <class Done>
void ReadReplies(int fd, std::chrono::steady_clock::time_point deadline, Done done) {
    constexpr std::size_t kLongestKept = 64 * 1024;
    std::string line;
    char bytes[4096];
    while (WaitFor(fd, POLLIN, deadline)) {
        const ssize_t count = ::recv(fd, bytes, sizeof bytes, 0);
        if (count <= 0) return;
        for (const char c : std::string_view(bytes, static_cast<std::size_t>(count))) {
            if (c != '\n') {
                if (line.size() < kLongestKept) line += c;
            } else if (done(std::exchange(line, {}))) {
                return;
            }
        }
    }
}

}  // namespace

GpsdLink::GpsdLink(GpsdAddress address, std::string devicePath)
    : address_(std::move(address)), devicePath_(std::move(devicePath)) {}

Opened GpsdLink::Open() {
    const auto deadline = std::chrono::steady_clock::now() + kGpsdAnswerTime;
    Opened opened{Connect(address_, deadline), OpenFailure::None, Describe(address_)};
    if (!opened.fd || !SendAll(opened.fd.get(), WatchRequest(devicePath_), deadline)) {
        opened.fd.reset();
        opened.failure = OpenFailure::GpsdNotAnswering;
    }
    stream_ = GpsdStream{};  // a new connection starts with a new line
    return opened;
}

void GpsdLink::Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) { stream_.Take(bytes, nmea); }

std::vector<std::string> GpsdDevices(const GpsdAddress& address) {
    const auto deadline = std::chrono::steady_clock::now() + kGpsdAnswerTime;
    const UniqueFd fd = Connect(address, deadline);
    std::vector<std::string> devices;
    if (!fd || !SendAll(fd.get(), kDevicesRequest, deadline)) return devices;
    ReadReplies(fd.get(), deadline, [&](std::string_view line) {
        devices = DevicePathsOf(line);
        return line.find(R"("class":"DEVICES")") != std::string_view::npos;
    });
    return devices;
}

}  // namespace moltrevane
