#include "directory/station_record.h"

#include <array>

namespace moltrevane {

void AppendStationRecord(std::string& listing, RowValues row) {
    if (row.empty()) return;
    // Separators before each of the ten columns call … rem2, and after the last.
    static constexpr std::array<std::string_view, 10> kBefore = {
        "", "  -  ", "  -  ", "  -  ", "\r   ", "\r   ", "  -  ", "  -  ", "\r   ", "\r   "};
    for (std::size_t i = 0; i < kBefore.size(); ++i) {
        listing.append(kBefore[i]);
        if (i < row.size()) listing.append(ShownValue(row[i]));
    }
    listing.append("\r");
}

std::vector<std::string> ListingLines(std::string_view listing) {
    std::vector<std::string> lines;
    for (std::size_t end = listing.find('\r'); end != std::string_view::npos; end = listing.find('\r')) {
        lines.emplace_back(listing.substr(0, end));
        listing.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> StationRecordLines(const StationDirectory& directory, const StationKey& station) {
    std::string listing;
    if (!directory.QueryStation(kDetailsPrefix, station, [&](RowValues row) { AppendStationRecord(listing, row); }))
        return {};
    return ListingLines(listing);
}

}  // namespace moltrevane
