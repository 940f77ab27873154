// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/gpsd_link.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace moltrevane {
namespace {

struct FreeAddresses {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using Addresses = std::unique_ptr<addrinfo, FreeAddresses>;

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return std::max(0, static_cast<int>(left.count()));
}

// True when fd shows the events before the deadline, and stopFd does not become readable first.
bool WaitFor(int fd, short events, int stopFd, Clock::time_point deadline) {
    std::array<pollfd, 2> watched{{{fd, events, 0}, {stopFd, POLLIN, 0}}};
    int ready;
    while ((ready = ::poll(watched.data(), watched.size(), RemainingMs(deadline))) < 0 && errno == EINTR) {
    }
    return ready > 0 && watched[1].revents == 0 && (watched[0].revents & events) != 0;
}

addrinfo StreamHints(int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    return hints;
}

}  // namespace

// A name server may not answer for many seconds, and getaddrinfo cannot be interrupted: the
// lookup runs on a thread of its own that owns its result and ends by itself, so that neither
// the reader nor a stop ever waits for it.
class PendingLookup {
public:
    static std::shared_ptr<PendingLookup> Start(const GpsdAddress& address, NameLookup lookup) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return nullptr;
        auto pending = std::shared_ptr<PendingLookup>(new PendingLookup(ends));
        try {
            std::thread([pending, address, lookup] { pending->Run(address, lookup); }).detach();
        } catch (const std::system_error&) {
            return nullptr;
        }
        return pending;
    }
    int DoneFd() const { return doneRead_.get(); }
    // The addresses once the lookup is done; empty when it failed.
    Addresses Take() {
        const std::lock_guard lock(guard_);
        return std::move(found_);
    }

private:
    explicit PendingLookup(const int ends[2]) : doneRead_(ends[0]), doneWrite_(ends[1]) {}
    void Run(const GpsdAddress& address, NameLookup lookup) {
        const addrinfo hints = StreamHints(0);
        addrinfo* found = nullptr;
        if (lookup(address.host.c_str(), address.port.c_str(), &hints, &found) != 0) found = nullptr;
        {
            const std::lock_guard lock(guard_);
            found_.reset(found);
        }
        const char done = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(doneWrite_.get(), &done, 1);
    }

    UniqueFd doneRead_, doneWrite_;
    std::mutex guard_;
    Addresses found_;
};

namespace {

// An address given as numbers is read at once, without a name server.
Addresses NumericAddresses(const GpsdAddress& address) {
    const addrinfo hints = StreamHints(AI_NUMERICHOST | AI_NUMERICSERV);
    addrinfo* found = nullptr;
    return Addresses(::getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found) == 0 ? found : nullptr);
}

// The addresses of a host name: from the lookup still pending since an earlier open, or from a
// new one. A lookup that outlives the wait stays pending for the next open.
Addresses LookUp(const GpsdAddress& address, NameLookup lookup, std::shared_ptr<PendingLookup>& pending,
                 int stopFd) {
    if (Addresses numeric = NumericAddresses(address)) return numeric;
    if (!pending) pending = PendingLookup::Start(address, lookup);
    if (!pending || !WaitFor(pending->DoneFd(), POLLIN, stopFd, Clock::now() + kNameLookupTime)) return nullptr;
    return std::exchange(pending, nullptr)->Take();
}

// A non-blocking connection to the first address that answers before the deadline.
UniqueFd Connect(const addrinfo* addresses, int stopFd, Clock::time_point deadline) {
    for (const addrinfo* a = addresses; a; a = a->ai_next) {
        UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (!fd) continue;
        if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) != 0 &&
            (errno != EINPROGRESS || !WaitFor(fd.get(), POLLOUT, stopFd, deadline)))
            continue;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return fd;
    }
    return {};
}

bool SendAll(int fd, std::string_view text, int stopFd, Clock::time_point deadline) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            text.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitFor(fd, POLLOUT, stopFd, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// gpsd's reply lines until one satisfies `done` or the deadline passes; lines beyond a
// sensible length are cut, never kept whole.
template <class Done>
void ReadReplies(int fd, int stopFd, Clock::time_point deadline, Done done) {
    constexpr std::size_t kLongestKept = 64 * 1024;
    std::string line;
    char bytes[4096];
    while (WaitFor(fd, POLLIN, stopFd, deadline)) {
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

GpsdLink::GpsdLink(GpsdAddress address, std::string devicePath, NameLookup lookup)
    : address_(std::move(address)), devicePath_(std::move(devicePath)), lookup_(lookup) {}

GpsdLink::~GpsdLink() = default;

Opened GpsdLink::Open(int stopFd) {
    const Addresses addresses = LookUp(address_, lookup_, pending_, stopFd);
    const auto deadline = Clock::now() + kGpsdAnswerTime;
    Opened opened{Connect(addresses.get(), stopFd, deadline), OpenFailure::None, Describe(address_)};
    if (!opened.fd || !SendAll(opened.fd.get(), WatchRequest(devicePath_), stopFd, deadline)) {
        opened.fd.reset();
        opened.failure = OpenFailure::GpsdNotAnswering;
    }
    stream_ = GpsdStream{};  // a new connection starts with a new line
    return opened;
}

void GpsdLink::Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) { stream_.Take(bytes, nmea); }

std::vector<std::string> GpsdDevices(const GpsdAddress& address, int stopFd, NameLookup lookup) {
    std::shared_ptr<PendingLookup> pending;
    const Addresses addresses = LookUp(address, lookup, pending, stopFd);
    const auto deadline = Clock::now() + kGpsdAnswerTime;
    const UniqueFd fd = Connect(addresses.get(), stopFd, deadline);
    std::vector<std::string> devices;
    if (!fd || !SendAll(fd.get(), kDevicesRequest, stopFd, deadline)) return devices;
    ReadReplies(fd.get(), stopFd, deadline, [&](std::string_view line) {
        devices = DevicePathsOf(line);
        return line.find(R"("class":"DEVICES")") != std::string_view::npos;
    });
    return devices;
}

}  // namespace moltrevane
