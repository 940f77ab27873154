// SPDX-License-Identifier: GPL-3.0-or-later
// What the radio link costs in a second with nothing to tune: the window's Publish and its
// reading of the state line once a second, and the worker beside it, connected to a listening
// rigctld's port. The goal: under 50 µs of CPU per second, both threads together.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <thread>

#include "base/unique_fd.h"
#include "platform/posix/rigctld_link.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;

// A port that takes connections (the kernel's backlog answers them) and says nothing.
struct SilentRigctld {
    UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    std::uint16_t port = 0;
    SilentRigctld() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        ::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&a), &size);
        port = ntohs(a.sin_port);
        ::listen(fd.get(), 4);
    }
};

// The CPU time per iteration is the cost per second.
void BM_OneSecondOfTheRadioLink(benchmark::State& state) {
    const SilentRigctld rigctld;
    RigctldLink link;
    const RigSettings settings{true, "127.0.0.1:" + std::to_string(rigctld.port), TuneMode::Follow};
    link.Publish(settings);
    for (int tries = 0; tries < 500 && link.State().line != "Radio: ready"; ++tries) std::this_thread::sleep_for(10ms);
    if (link.State().line != "Radio: ready") state.SkipWithError("the link did not connect");
    for (auto _ : state) {
        const auto next = std::chrono::steady_clock::now() + 1s;
        link.Publish(settings);
        benchmark::DoNotOptimize(link.State());
        std::this_thread::sleep_until(next);
    }
}
BENCHMARK(BM_OneSecondOfTheRadioLink)->MeasureProcessCPUTime()->UseRealTime()->Iterations(10)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace moltrevane
