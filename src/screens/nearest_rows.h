// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The repeater rows filled with the seven nearest stations, as "Search Stn." fills them and as
// the list that follows the car does, and kept in order of their distance between searches.

#include <array>
#include <optional>
#include <vector>

#include "core/measured_station.h"
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

// Puts the rows in order of their distance from the own point, nearest first, so that the list
// and an announcement of the nearest agree in every second: stations without a position, then
// empty rows last, ties as they stood; a new order is counted. The order stays without an own
// point and while a call is typed. Returns the rows' stations as measured, in their order now.
std::vector<MeasuredStation> KeepInDistanceOrder(RepeaterRows& rows, std::optional<GeoPoint> own);

// The row from the directory's row of the key; false, with the row emptied, when the directory
// has no such row.
bool FillRow(ScreenContext& context, std::size_t row, StationKey key);

}  // namespace moltrevane
