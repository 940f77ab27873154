#pragma once
// The full record of a station's row: five lines, values as stored.

#include <string>
#include <string_view>
#include <vector>

#include "directory/station_directory.h"

namespace moltrevane {

// Appends one row of the details statement to the listing text (lines end in CR).
void AppendStationRecord(std::string& listing, RowValues row);

// The listing split at its carriage returns; text after the last one is not a line.
std::vector<std::string> ListingLines(std::string_view listing);

std::vector<std::string> StationRecordLines(const StationDirectory& directory, const StationKey& station);

}  // namespace moltrevane
