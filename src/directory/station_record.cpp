// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_record.h"

#include <array>
#include <string_view>

namespace moltrevane {
namespace {

constexpr std::size_t kToneColumn = 8;  // rem1, where the import puts the access tone

// A column as the listing shows it: the access tone said for what it is ("tone 127.3"), every
// other value as stored.
std::string Shown(const StoredRow& row, std::size_t column) {
    if (column == kToneColumn)
        if (const std::optional<AccessTone> tone = AccessToneOf(row[column])) return "tone " + StoredTone(*tone);
    return ShownValue(row[column]);
}

// The listing of one row, its lines ending in CR.
std::string Listing(const StoredRow& row) {
    // Separators before each of the ten columns call … rem2, and after the last.
    static constexpr std::array<std::string_view, 10> kBefore = {
        "", "  -  ", "  -  ", "  -  ", "\r   ", "\r   ", "  -  ", "  -  ", "\r   ", "\r   "};
    std::string listing;
    for (std::size_t i = 0; i < kBefore.size(); ++i) listing.append(kBefore[i]).append(Shown(row, i));
    return listing + "\r";
}

std::vector<std::string> LinesOf(std::string_view listing) {
    std::vector<std::string> lines;
    for (std::size_t end = listing.find('\r'); end != std::string_view::npos; end = listing.find('\r')) {
        lines.emplace_back(listing.substr(0, end));
        listing.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

std::vector<std::string> StationRecordLines(const StationDirectory& directory, const StationKey& station) {
    const std::optional<StoredRow> row = directory.LookupRow(station);
    return row ? LinesOf(Listing(*row)) : std::vector<std::string>{};
}

}  // namespace moltrevane
