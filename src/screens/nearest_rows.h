#pragma once
// The repeater rows filled with the seven nearest stations, as "Search Stn." fills them and as
// the list that follows the car does.

#include <array>

#include "screens/screen_context.h"

namespace moltrevane {

struct NearestRowsFilled {
    bool loaded = false;                 // false while the directory is still being read: nothing changed
    std::array<bool, 7> missed{};        // found nearest, but gone from the directory when looked up
};

// Searches from the own position with the filters set, looks each station up for its row, and
// marks where and with which filters it searched. Without an own position no row is filled.
NearestRowsFilled FillNearestRows(ScreenContext& context);

// The row's call, info, channel and locator from the directory's row of the key; false, with
// the row emptied, when the directory has no such row.
bool FillRow(ScreenContext& context, std::size_t row, StationKey station);
void ForgetRow(RepeaterRows& rows, std::size_t row);

}  // namespace moltrevane
