// SPDX-License-Identifier: GPL-3.0-or-later
// CSV station lists: the RFC 4180 reader and the columns found by name.
#include "station_list_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return moltrevane::fuzzing::CheckReader(
        [](const moltrevane::NextBytes& next, const moltrevane::OnStation& on) {
            moltrevane::ListFormat format = moltrevane::ListFormat::Csv;
            return moltrevane::ReadCsvList(format, next, on);
        },
        data, size);
}
