// SPDX-License-Identifier: GPL-3.0-or-later
// Datagrams from anyone who can reach the port: whatever they hold, the reader reads within
// bounds and the instance table stays small and answers only with well-formed Locations.
#include <fuzzer/FuzzedDataProvider.h>

#include "links/wsjtx_peers.h"
#include "links/wsjtx_protocol.h"
#include "fuzz_check.h"

using namespace moltrevane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    WsjtxPeers peers;
    SteadyTime now{};
    peers.SetLocator(ToLocatorText("JO62QM"), now);
    while (input.remaining_bytes() > 0) {
        const Endpoint from{{127, 0, 0, 1}, input.ConsumeIntegral<std::uint16_t>()};
        now += std::chrono::seconds(input.ConsumeIntegralInRange(0, 40));
        const std::string datagram = input.ConsumeRandomLengthString(2048);
        const auto bytes = std::span(reinterpret_cast<const unsigned char*>(datagram.data()), datagram.size());
        if (const auto message = ReadWsjtxDatagram(bytes)) {
            FUZZ_CHECK(!message->id.empty() && message->id.size() <= kWsjtxLongestId);
            FUZZ_CHECK(message->schema >= 1 && message->schema <= kWsjtxNewestSchema);
            FUZZ_CHECK(!message->deGrid || message->deGrid->size() < datagram.size());
        }
        for (const Datagram& answer : peers.Receive(bytes, from, now)) {
            FUZZ_CHECK(answer.to == from);
            FUZZ_CHECK(answer.bytes.size() > 26 && answer.bytes.size() <= 26 + kWsjtxLongestId);
        }
        FUZZ_CHECK(peers.StateLine(now).starts_with("WSJT-X: "));
    }
    FUZZ_CHECK(peers.SetLocator(ToLocatorText("JN58SD"), now).size() <= kWsjtxMostInstances);
    return 0;
}
