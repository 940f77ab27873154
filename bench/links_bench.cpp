// SPDX-License-Identifier: GPL-3.0-or-later
// What handing the locator to WSJT-X and JS8Call costs. The goal: under 0.005 % of a core at
// one locator a second, i.e. under 50 µs of CPU per second, both threads together.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <thread>

#include "base/unique_fd.h"
#include "links/wsjtx_protocol.h"
#include "platform/posix/network_locator_links.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;

UniqueFd Loopback(int type, std::uint16_t& port) {
    UniqueFd fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&a), &size);
    port = ntohs(a.sin_port);
    return fd;
}

// A WSJT-X instance known to the links and a JS8Call listening, both on loopback.
struct Peers {
    std::uint16_t wsjtxPort = 0, js8callPort = 0, instancePort = 0;
    UniqueFd js8call = Loopback(SOCK_STREAM, js8callPort);
    UniqueFd instance = Loopback(SOCK_DGRAM, instancePort);
    LinkSettings settings;
    Peers() {
        ::listen(js8call.get(), 4);
        { Loopback(SOCK_DGRAM, wsjtxPort); }  // a free port
        settings = {true, "127.0.0.1:" + std::to_string(wsjtxPort), true, "127.0.0.1:" + std::to_string(js8callPort)};
    }
    void Introduce(NetworkLocatorLinks& links, const LocatorText& locator) const {
        links.Publish(settings, locator);
        const std::vector<unsigned char> heartbeat = {0xad, 0xbc, 0xcb, 0xda, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 1, 'W', 0, 0, 0, 3};
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(wsjtxPort);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int tries = 0; tries < 50 && !TakeLocation(100); ++tries)
            ::sendto(instance.get(), heartbeat.data(), heartbeat.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    bool TakeLocation(int waitMs) const {
        pollfd watched{instance.get(), POLLIN, 0};
        unsigned char bytes[256];
        return ::poll(&watched, 1, waitMs) == 1 && ::recv(instance.get(), bytes, sizeof bytes, 0) > 0;
    }
};

const LocatorText kJo62qm = ToLocatorText("JO62QM"), kJo62qn = ToLocatorText("JO62QN");

// The window's thread each second when nothing moved: one comparison under the guard.
void BM_PublishUnchanged(benchmark::State& state) {
    NetworkLocatorLinks links;
    const Peers peers;
    peers.Introduce(links, kJo62qm);
    for (auto _ : state) links.Publish(peers.settings, kJo62qm);
}
BENCHMARK(BM_PublishUnchanged);

// A new locator every time, from the window's thread to WSJT-X's socket: both threads' CPU.
void BM_NewLocatorReachesWsjtx(benchmark::State& state) {
    NetworkLocatorLinks links;
    const Peers peers;
    peers.Introduce(links, kJo62qm);
    bool odd = false;
    for (auto _ : state) {
        links.Publish(peers.settings, (odd = !odd) ? kJo62qn : kJo62qm);
        if (!peers.TakeLocation(1000)) state.SkipWithError("no Location came");
    }
}
BENCHMARK(BM_NewLocatorReachesWsjtx)->MeasureProcessCPUTime()->UseRealTime();

// One whole second at 1 Hz, both threads: the window's Publish and its reading of the states,
// and the worker's own tick. Argument 0: the locator stays (the usual second); 1: a new
// locator every second, which no drive comes near (a square lasts minutes at 100 km/h).
// The CPU time per iteration is the cost per second.
void BM_OneSecondOfPublishing(benchmark::State& state) {
    NetworkLocatorLinks links;
    const Peers peers;
    peers.Introduce(links, kJo62qm);
    const bool moving = state.range(0) != 0;
    bool odd = false;
    for (auto _ : state) {
        const auto next = std::chrono::steady_clock::now() + 1s;
        links.Publish(peers.settings, moving && (odd = !odd) ? kJo62qn : kJo62qm);
        if (moving) peers.TakeLocation(1000);
        benchmark::DoNotOptimize(links.States());
        std::this_thread::sleep_until(next);
    }
}
BENCHMARK(BM_OneSecondOfPublishing)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Iterations(10)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace moltrevane
