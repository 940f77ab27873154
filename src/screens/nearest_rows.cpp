// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/nearest_rows.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

#include "core/filter_flags.h"
#include "directory/index_loader.h"
#include "geo/distance.h"

namespace moltrevane {
namespace {

std::optional<RowStation> RowOf(StationKey key, const std::optional<StoredRow>& found) {
    if (!found) return std::nullopt;
    return RowStation{std::move(key), StationOf(*found)};
}

std::optional<MeasuredStation> MeasuredFrom(GeoPoint own, const std::optional<RowStation>& row) {
    if (!row || !row->station.point) return std::nullopt;
    const GeoPoint at = *row->station.point;
    const double km = DistanceKm(own.latitude, own.longitude, at.latitude, at.longitude);
    if (!std::isfinite(km)) return std::nullopt;
    return MeasuredStation{row->station, km, BearingDeg(own.latitude, own.longitude, at.latitude, at.longitude)};
}

}  // namespace

NearestRowsFilled FillNearestRows(ScreenContext& context, std::optional<GeoPoint> own) {
    context.stationIndex.Refresh();
    const std::shared_ptr<const StationIndex> index = context.stationIndex.Current();
    if (!index || !context.stationIndex.UpToDate()) return {};
    const StationFilter filter = FilterOf(context.state);
    // "Nearest" to a position the program does not have would mean nothing: no rows.
    const NearStations nearest = own ? index->Nearest(*own, filter) : NearStations{};
    // The whole call and the row the search measured: a longer call cut short, or another row
    // of a call listed twice, would be another station.
    std::vector<StationKey> keys;
    for (const NearStation& station : nearest) keys.push_back({station.call, station.locator, filter});
    const std::vector<std::optional<StoredRow>> found = context.directory.LookupRows(keys);
    NearestRowsFilled filled{true, {}};
    for (std::size_t r = 0; r < context.rows.rows.size(); ++r) {
        context.rows.rows[r] = r < keys.size() ? RowOf(std::move(keys[r]), found[r]) : std::nullopt;
        filled.missed[r] = r < keys.size() && !found[r];
    }
    ++context.rows.searches;
    if (own) context.followMark = FollowMark{*own, filter};
    return filled;
}

bool FillRow(ScreenContext& context, std::size_t row, StationKey key) {
    const std::optional<StoredRow> found = context.directory.LookupRow(key);
    context.rows.rows[row] = RowOf(std::move(key), found);
    return found.has_value();
}

std::vector<MeasuredStation> KeepInDistanceOrder(RepeaterRows& rows, std::optional<GeoPoint> own) {
    if (!own) return {};
    constexpr std::size_t kRows = std::tuple_size_v<decltype(rows.rows)>;
    std::array<std::optional<MeasuredStation>, kRows> measured;
    for (std::size_t r = 0; r < kRows; ++r) measured[r] = MeasuredFrom(*own, rows.rows[r]);
    if (!rows.typing) {
        const auto rank = [&](std::size_t r) {  // measured by distance, then unmeasured, then empty
            return std::tuple(measured[r] ? 0 : rows.rows[r] ? 1 : 2, measured[r] ? measured[r]->km : 0.0);
        };
        std::array<std::size_t, kRows> order;
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
        if (!std::is_sorted(order.begin(), order.end())) {
            decltype(rows.rows) sortedRows;
            decltype(measured) sortedMeasured;
            for (std::size_t r = 0; r < kRows; ++r) {
                sortedRows[r] = std::move(rows.rows[order[r]]);
                sortedMeasured[r] = std::move(measured[order[r]]);
            }
            rows.rows = std::move(sortedRows);
            measured = std::move(sortedMeasured);
            ++rows.reorders;
        }
    }
    std::vector<MeasuredStation> listed;
    for (auto& station : measured)
        if (station) listed.push_back(std::move(*station));
    return listed;
}

}  // namespace moltrevane
