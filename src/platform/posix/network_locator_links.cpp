// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/network_locator_links.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "links/endpoint.h"
#include "links/js8call_link.h"
#include "links/wsjtx_peers.h"
#include "platform/posix/tcp_stream.h"

namespace moltrevane {
namespace {

using Order = NetworkLocatorLinks::Order;

// The worker's own clock, for what time alone changes: a confirmation overdue (30 s), an
// instance gone silent (60 s), another try (5 s). Whatever arrives wakes it at once; an idle
// worker costs a wake every 5 s.
constexpr int kTickMs = 5000;
constexpr std::chrono::seconds kListenRetry{5};
constexpr int kMostDatagramsARound = 256;  // a flood waits its turn behind the other link

SteadyTime Now() { return std::chrono::steady_clock::now(); }

Endpoint EndpointOf(const sockaddr_in& address) {
    Endpoint endpoint;
    std::memcpy(endpoint.address.data(), &address.sin_addr, 4);
    endpoint.port = ntohs(address.sin_port);
    return endpoint;
}

// Listens where WSJT-X sends, and answers from there.
class WsjtxSide {
public:
    void Configure(const LinkSettings& settings) {
        *this = WsjtxSide{};
        on_ = settings.wsjtx;
        address_ = ParseEndpoint(settings.wsjtxAddress);
    }

    void Tick(SteadyTime now) {
        if (!on_ || !address_ || socket_ || (lastTry_ && now - *lastTry_ < kListenRetry)) return;
        lastTry_ = now;
        Listen();
    }

    void SetLocator(const std::optional<LocatorText>& locator, SteadyTime now) { Send(peers_.SetLocator(locator, now)); }

    int Fd() const { return socket_.get(); }

    void Readable(SteadyTime now) {
        for (int n = 0; n < kMostDatagramsARound; ++n) {
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            const ssize_t size = ::recvfrom(socket_.get(), buffer_.data(), buffer_.size(), MSG_TRUNC,
                                            reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (size < 0) return;
            if (static_cast<std::size_t>(size) > buffer_.size() || from.sin_family != AF_INET) continue;
            Send(peers_.Receive(std::span(buffer_.data(), static_cast<std::size_t>(size)), EndpointOf(from), now));
        }
    }

    std::string StateLine(SteadyTime now) const {
        if (!on_) return "WSJT-X: off";
        if (!address_) return "WSJT-X: address not valid";
        if (!failure_.empty()) return "WSJT-X: " + failure_;
        return peers_.StateLine(now);
    }

private:
    void Listen() {
        UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const int yes = 1;
        // A multicast group is shared with JTAlert, GridTracker and the like.
        const bool shared = IsMulticast(*address_);
        const sockaddr_in bound = SocketAddressOf(*address_);
        bool listening = fd && (!shared || ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0) &&
                         ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&bound), sizeof bound) == 0;
        if (listening && shared) {
            ip_mreq group{};
            group.imr_multiaddr = bound.sin_addr;
            group.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
            listening = ::setsockopt(fd.get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) == 0;
        }
        if (!listening) {
            failure_ = Failure(errno);
            return;
        }
        failure_.clear();
        socket_ = std::move(fd);
        buffer_.resize(65536);  // the largest datagram; a larger one is cut and passed over
    }

    std::string Failure(int error) const {
        const std::string address = EndpointText(*address_);
        if (error == EADDRINUSE) return "port " + std::to_string(address_->port) + " taken by another program";
        if (error == EADDRNOTAVAIL) return address.substr(0, address.rfind(':')) + " is no address of this computer";
        return "cannot listen on " + address + ": " + std::strerror(error);
    }

    void Send(const std::vector<Datagram>& datagrams) {
        for (const Datagram& d : datagrams) {
            const sockaddr_in to = SocketAddressOf(d.to);
            ::sendto(socket_.get(), d.bytes.data(), d.bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to);
        }
    }

    bool on_ = false;
    std::optional<Endpoint> address_;
    UniqueFd socket_;
    std::optional<SteadyTime> lastTry_;
    std::string failure_;
    WsjtxPeers peers_;
    std::vector<unsigned char> buffer_;
};

// A TCP connection to JS8Call's API, made again when it is lost.
class Js8callSide {
public:
    void Configure(const LinkSettings& settings, const std::optional<LocatorText>& locator, SteadyTime now) {
        *this = Js8callSide{};
        on_ = settings.js8call;
        address_ = ParseEndpoint(settings.js8callAddress);
        link_.SetLocator(locator, now);
    }

    void Tick(SteadyTime now) {
        if (!on_ || !address_ || stream_.Open() || !link_.WantsConnection(now)) return;
        if (stream_.Begin(*address_) && !stream_.Connecting()) Connected(now);
    }

    void SetLocator(const std::optional<LocatorText>& locator, SteadyTime now) { Write(link_.SetLocator(locator, now)); }

    int Fd() const { return stream_.Fd(); }
    short Events() const { return stream_.Events(); }

    void Ready(short revents, SteadyTime now) {
        if (stream_.Connecting()) {
            if (stream_.Made()) Connected(now);
            return;
        }
        if ((revents & (POLLIN | POLLHUP | POLLERR)) == 0) return;
        std::array<char, 16384> buffer;
        const long size = stream_.Receive(buffer);
        if (size > 0) {
            if (!link_.Receive(std::span(buffer.data(), static_cast<std::size_t>(size)), now)) Lost();
        } else if (size < 0) {
            link_.Disconnected();
        }
    }

    std::string StateLine(SteadyTime now) const {
        if (!on_) return "JS8Call: off";
        if (!address_) return "JS8Call: address not valid";
        return link_.StateLine(now);
    }

private:
    void Connected(SteadyTime now) { Write(link_.Connected(now)); }

    // A line that does not go out at once (JS8Call not reading) ends the connection.
    void Write(const std::string& line) {
        if (line.empty() || !stream_.Open() || stream_.Connecting()) return;
        if (!stream_.Send(line)) link_.Disconnected();
    }

    // A peer that streams without a line end is dropped, and tried again later as an absent one.
    void Lost() {
        stream_.Close();
        link_.Disconnected();
    }

    bool on_ = false;
    std::optional<Endpoint> address_;
    TcpStream stream_;
    Js8callLink link_;
};

}  // namespace

NetworkLocatorLinks::NetworkLocatorLinks() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_.reset(ends[0]);
        wakeWrite_.reset(ends[1]);
    }
    states_ = {"WSJT-X: off", "JS8Call: off"};
    worker_ = std::thread([this] { Run(); });
}

NetworkLocatorLinks::~NetworkLocatorLinks() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &byte, 1);
    worker_.join();
}

void NetworkLocatorLinks::Publish(const LinkSettings& settings, const std::optional<LocatorText>& locator) {
    {
        const std::lock_guard lock(mutex_);
        if (order_.settings == settings && order_.locator == locator) return;
        order_ = {settings, locator};
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &byte, 1);
}

LinkStates NetworkLocatorLinks::States() const {
    const std::lock_guard lock(mutex_);
    return states_;
}

void NetworkLocatorLinks::Run() {
    WsjtxSide wsjtx;
    Js8callSide js8call;
    Order current;
    for (;;) {
        Order wanted;
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) return;
            wanted = order_;
        }
        const SteadyTime now = Now();
        const LinkSettings& was = current.settings;
        if (wanted.settings.wsjtx != was.wsjtx || wanted.settings.wsjtxAddress != was.wsjtxAddress)
            wsjtx.Configure(wanted.settings);
        if (wanted.settings.js8call != was.js8call || wanted.settings.js8callAddress != was.js8callAddress)
            js8call.Configure(wanted.settings, current.locator, now);
        wsjtx.Tick(now);
        js8call.Tick(now);
        wsjtx.SetLocator(wanted.locator, now);
        js8call.SetLocator(wanted.locator, now);
        current = wanted;
        {
            const std::lock_guard lock(mutex_);
            states_ = {wsjtx.StateLine(now), js8call.StateLine(now)};
        }

        std::array<pollfd, 3> watched{{{wakeRead_.get(), POLLIN, 0}, {wsjtx.Fd(), POLLIN, 0}, {js8call.Fd(), js8call.Events(), 0}}};
        if (::poll(watched.data(), watched.size(), kTickMs) <= 0) continue;
        if (watched[0].revents) {
            char drained[64];
            while (::read(wakeRead_.get(), drained, sizeof drained) > 0) {
            }
        }
        if (watched[1].revents) wsjtx.Readable(Now());
        if (watched[2].revents) js8call.Ready(watched[2].revents, Now());
    }
}

}  // namespace moltrevane
