#pragma once
// The repeater rows filled with the seven nearest stations, as "Search Stn." fills them and as
// the list that follows the car does.

#include <array>
#include <optional>

#include "geo/locator.h"
#include "screens/screen_context.h"

namespace moltrevane {

struct NearestRowsFilled {
    bool loaded = false;                 // false while the directory is still being read: nothing changed
    std::array<bool, 7> missed{};        // found nearest, but gone from the directory when looked up
};

// Searches from the own point with the filters set, looks the stations up for their rows (all
// of them through one connection), and marks where and with which filters it searched.
// Without an own point no row is filled.
NearestRowsFilled FillNearestRows(ScreenContext& context, std::optional<GeoPoint> own);

// The row from the directory's row of the key; false, with the row emptied, when the directory
// has no such row.
bool FillRow(ScreenContext& context, std::size_t row, StationKey key);

}  // namespace moltrevane
