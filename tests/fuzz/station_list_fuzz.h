// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every station list reader owes any input: the same stations and an error in the same
// cases however the file is cut into pieces, and rows the directory can hold (valid UTF-8, a
// valid locator, frequencies with four decimals, a tone in its one form, a site of degrees on
// the globe). The CSV and JSON readers also give the same error text; expat names a broken XML
// file's fault after what it has seen so far ("junk after document element" in pieces, "not
// well-formed" whole), so the XML reader's may differ.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/listed_station.h"
#include "import/station_lists.h"
#include "directory/station.h"
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

enum class ErrorText { Same, MayDiffer };

inline std::string ReadAll(Reader read, std::string_view bytes, std::size_t piece, ErrorText errorText) {
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
        const DirectoryRow& row = *outcome.row;
        FUZZ_CHECK(row[8].empty() || AccessToneOf(row[8]));
        FUZZ_CHECK(row[10].empty() == row[11].empty());
        if (!row[10].empty()) FUZZ_CHECK(SiteOf("", row[10], row[11]).has_value());
        result += "\n";
        return true;
    });
    return result + "error: " + (errorText == ErrorText::Same ? error : error.empty() ? "none" : "some");
}

// The first byte picks the size of the pieces; the rest is the file.
inline int CheckReader(Reader read, const std::uint8_t* data, std::size_t size, ErrorText errorText = ErrorText::Same) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = data[0] % 64 + 1;
    FUZZ_CHECK(ReadAll(read, bytes, piece, errorText) == ReadAll(read, bytes, bytes.size() + 1, errorText));
    return 0;
}

}  // namespace moltrevane::fuzzing
