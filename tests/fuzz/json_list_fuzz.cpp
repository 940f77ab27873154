// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON station lists (RepeaterBook, hearham, przemienniki.eu, SRAL), each mapping in turn.
#include "station_list_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace moltrevane;
    static constexpr fuzzing::Reader kReaders[] = {
        [](const NextBytes& next, const OnStation& on) { return ReadJsonList(ListFormat::RepeaterBookJson, next, on); },
        [](const NextBytes& next, const OnStation& on) { return ReadJsonList(ListFormat::HearhamJson, next, on); },
        [](const NextBytes& next, const OnStation& on) { return ReadJsonList(ListFormat::PrzemiennikiJson, next, on); },
        [](const NextBytes& next, const OnStation& on) { return ReadJsonList(ListFormat::SralJson, next, on); },
    };
    if (size == 0) return 0;
    return fuzzing::CheckReader(kReaders[data[0] % std::size(kReaders)], data + 1, size - 1);
}
