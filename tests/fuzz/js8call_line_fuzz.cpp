// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever JS8Call's port sends, in any pieces: no crash; after a connection dropped for a line
// past the longest, the next one starts clean: a true answer after it is still understood once
// its line ends.
#include <fuzzer/FuzzedDataProvider.h>

#include "links/js8call_link.h"
#include "fuzz_check.h"

using namespace moltrevane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Js8callLink link;
    const SteadyTime now{};
    link.SetLocator(ToLocatorText("JO62QM"), now);
    link.Connected(now);
    while (input.remaining_bytes() > 0) {
        const std::string piece = input.ConsumeRandomLengthString(4096);
        if (const auto grid = GridOfAnswer(piece)) FUZZ_CHECK(grid->size() < piece.size());
        const bool kept = link.Receive(piece, now);
        FUZZ_CHECK(link.StateLine(now).starts_with("JS8Call: "));
        if (!kept) link.Connected(now);
    }
    link.Receive(std::string_view("\n{\"type\":\"STATION.GRID\",\"value\":\"JO62QM\"}\n"), now);
    FUZZ_CHECK(link.StateLine(now) == "JS8Call: JO62QM confirmed");
    return 0;
}
