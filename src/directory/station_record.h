// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The full record of a station's row: five lines, values as stored.

#include <string>
#include <vector>

#include "directory/station_directory.h"

namespace moltrevane {

// The lines of the key's row; none when the directory has no such row. A value holding a
// carriage return goes on in a line of its own, as the listing always broke its lines there.
std::vector<std::string> StationRecordLines(const StationDirectory& directory, const StationKey& station);

}  // namespace moltrevane
