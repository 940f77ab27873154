#pragma once
// What every station list reader owes any input: the same stations and the same error however
// the file is cut into pieces, and rows the directory can hold (valid UTF-8, a valid locator,
// frequencies with four decimals).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/listed_station.h"
#include "import/station_lists.h"
#include "fuzz_check.h"
#include "geo/locator.h"

namespace moltrevane::fuzzing {

using Reader = std::string (*)(const NextBytes&, const OnStation&);

inline bool IsFrequencyText(std::string_view text) {
    if (text.empty()) return true;
    const std::size_t dot = text.find('.');
    return dot != std::string_view::npos && dot + 5 == text.size() &&
           text.find_first_not_of("0123456789.") == std::string_view::npos;
}

inline std::string ReadAll(Reader read, std::string_view bytes, std::size_t piece) {
    std::size_t at = 0;
    std::string result;
    const NextBytes next = [&]() {
        const std::string_view part = bytes.substr(at, piece);
        at += part.size();
        return part;
    };
    const std::string error = read(next, [&](const ListedStation& station) {
        const RowOutcome outcome = RowOf(station, "fuzz", true);
        if (!outcome.row) return result += "skip\n", true;
        for (const std::string& value : *outcome.row) {
            FUZZ_CHECK(CleanText(value, value.size()) == value);
            result += value + "|";
        }
        FUZZ_CHECK(IsValidLocator((*outcome.row)[1]) && (*outcome.row)[1].size() == 6);
        FUZZ_CHECK(IsFrequencyText((*outcome.row)[5]) && IsFrequencyText((*outcome.row)[6]));
        result += "\n";
        return true;
    });
    return result + "error: " + error;
}

// The first byte picks the size of the pieces; the rest is the file.
inline int CheckReader(Reader read, const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = data[0] % 64 + 1;
    FUZZ_CHECK(ReadAll(read, bytes, piece) == ReadAll(read, bytes, bytes.size() + 1));
    return 0;
}

}  // namespace moltrevane::fuzzing
