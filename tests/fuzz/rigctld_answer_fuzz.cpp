// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever answers on rigctld's port, in any pieces and at any time: no crash, a state line
// that says "Radio: ", nothing sent that is not a rigctld command, never one that keys the
// radio, and a rigctld that answers properly afterwards is understood again.
#include <fuzzer/FuzzedDataProvider.h>

#include "links/rig_link.h"
#include "fuzz_check.h"

using namespace moltrevane;

namespace {

void CheckSent(const std::string& lines) {
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = lines.find('\n', at);
        FUZZ_CHECK(end != std::string::npos);
        const std::string_view line(lines.data() + at, end - at);
        FUZZ_CHECK(line.starts_with("+\\get_") || line.starts_with("+\\set_"));
        FUZZ_CHECK(CommandOf(line) != "set_ptt");
        at = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Station station;
    station.call = "DB0ABC";
    station.mode = "FM";
    station.outputMhz = 439.375;
    station.inputMhz = input.ConsumeBool() ? 431.775 : 144.65;
    station.tone = AccessTone{AccessTone::Kind::Ctcss, 127.3, 0};
    RigLink link;
    SteadyTime now{};
    CheckSent(link.Connected(now));
    CheckSent(link.Tune(station, input.ConsumeBool() ? TuneCause::Tap : TuneCause::Follow, now));
    while (input.remaining_bytes() > 0 && !link.Garbled()) {
        now += std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 3000));
        CheckSent(link.Tick(now));
        CheckSent(link.Receive(input.ConsumeRandomLengthString(1024), now));
        FUZZ_CHECK(link.State().line.starts_with("Radio: "));
    }
    link.Disconnected();
    // A follow's wish still waiting begins as soon as the link is back, else the tap's does:
    // either way with the PTT question, once.
    std::string asked = link.Connected(now);
    CheckSent(asked);
    asked += link.Tune(station, TuneCause::Tap, now);
    FUZZ_CHECK(asked == PttQuestion());
    CheckSent(link.Receive(std::string_view("get_ptt:\nRPRT -11\n"), now + std::chrono::seconds(10)));
    return 0;
}
