// SPDX-License-Identifier: GPL-3.0-or-later
// The RXF XML station list, read with expat.
#include "station_list_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using moltrevane::fuzzing::ErrorText;
    return moltrevane::fuzzing::CheckReader(&moltrevane::ReadRxfList, data, size, ErrorText::MayDiffer);
}
