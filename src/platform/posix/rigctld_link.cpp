// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/rigctld_link.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "links/endpoint.h"
#include "links/rig_link.h"
#include "platform/posix/tcp_stream.h"

namespace moltrevane {
namespace {

// An idle worker wakes every 5 s, to try an absent rigctld again; an answer or a wish wakes
// it at once, a deadline when it is due.
constexpr std::chrono::milliseconds kIdleTick{5000};
constexpr std::chrono::seconds kConnectTime{5};

SteadyTime Now() { return std::chrono::steady_clock::now(); }

RigState LineOnly(std::string line) {
    RigState state;
    state.line = std::move(line);
    return state;
}

// One connection to the rigctld the settings name, made again when it is lost.
class RigSide {
public:
    void Configure(const RigSettings& settings) {
        *this = RigSide{};
        on_ = settings.on;
        address_ = ParseEndpoint(settings.address);
    }

    void Tick(SteadyTime now) {
        if (stream_.Connecting() && now - connectBegun_ > kConnectTime) Lost("Radio: rigctld not running");
        if (on_ && address_ && !stream_.Open() && link_.WantsConnection(now)) {
            connectBegun_ = now;
            if (stream_.Begin(*address_) && !stream_.Connecting()) Send(link_.Connected(now));
        }
        Send(link_.Tick(now));
    }

    void Tune(const Station& station, TuneCause cause, SteadyTime now) {
        if (on_) Send(link_.Tune(station, cause, now));
    }

    int Fd() const { return stream_.Fd(); }
    short Events() const { return stream_.Events(); }

    void Ready(short revents, SteadyTime now) {
        if (stream_.Connecting()) {
            if (stream_.Made()) Send(link_.Connected(now));
            return;
        }
        if ((revents & (POLLIN | POLLHUP | POLLERR)) == 0) return;
        std::array<char, 4096> buffer;
        const long size = stream_.Receive(buffer);
        if (size < 0) return Lost("Radio: rigctld not running");
        Send(link_.Receive(std::span(buffer.data(), static_cast<std::size_t>(size)), now));
        if (link_.Garbled()) Lost("Radio: what answers at " + EndpointText(*address_) + " is no rigctld");
    }

    std::optional<SteadyTime> WakeAt() const { return link_.WakeAt(); }

    RigState State() const {
        if (!on_) return LineOnly("Radio: off");
        if (!address_) return LineOnly("Radio: address not valid");
        return link_.State();
    }

private:
    void Send(const std::string& lines) {
        if (!lines.empty() && !stream_.Send(lines)) Lost("Radio: rigctld not running");
    }

    void Lost(std::string line) {
        stream_.Close();
        link_.Disconnected(std::move(line));
    }

    bool on_ = false;
    std::optional<Endpoint> address_;
    TcpStream stream_;
    SteadyTime connectBegun_{};
    RigLink link_;
};

int PollMs(std::optional<SteadyTime> wakeAt, SteadyTime now) {
    if (!wakeAt) return static_cast<int>(kIdleTick.count());
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*wakeAt - now);
    return static_cast<int>(std::clamp<long long>(left.count(), 0, kIdleTick.count()));
}

}  // namespace

RigctldLink::RigctldLink() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_.reset(ends[0]);
        wakeWrite_.reset(ends[1]);
    }
    state_ = LineOnly("Radio: off");
    worker_ = std::thread([this] { Run(); });
}

RigctldLink::~RigctldLink() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    Wake();
    worker_.join();
}

void RigctldLink::Publish(const RigSettings& settings) {
    {
        const std::lock_guard lock(mutex_);
        if (settings_ == settings) return;
        settings_ = settings;
    }
    Wake();
}

void RigctldLink::Tune(const Station& station, TuneCause cause) {
    {
        const std::lock_guard lock(mutex_);
        tune_ = {station, cause};
        state_.busy = station;  // from now: the window's next look sees it on its way
    }
    Wake();
}

RigState RigctldLink::State() const {
    const std::lock_guard lock(mutex_);
    return state_;
}

void RigctldLink::Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &byte, 1);
}

void RigctldLink::Run() {
    RigSide rig;
    RigSettings current;
    for (;;) {
        RigSettings wanted;
        std::optional<std::pair<Station, TuneCause>> tune;
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) return;
            wanted = settings_;
            tune = std::exchange(tune_, std::nullopt);
        }
        const SteadyTime now = Now();
        if (wanted.on != current.on || wanted.address != current.address) rig.Configure(wanted);
        current = wanted;
        rig.Tick(now);
        if (tune) rig.Tune(tune->first, tune->second, now);
        {
            const std::lock_guard lock(mutex_);
            state_ = rig.State();
        }
        std::array<pollfd, 2> watched{{{wakeRead_.get(), POLLIN, 0}, {rig.Fd(), rig.Events(), 0}}};
        if (::poll(watched.data(), watched.size(), PollMs(rig.WakeAt(), Now())) <= 0) continue;
        if (watched[0].revents) {
            char drained[64];
            while (::read(wakeRead_.get(), drained, sizeof drained) > 0) {
            }
        }
        if (watched[1].revents) rig.Ready(watched[1].revents, Now());
    }
}

}  // namespace moltrevane
