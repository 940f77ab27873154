#include "screens/nearest_rows.h"

#include <utility>
#include <vector>

#include "core/filter_flags.h"
#include "directory/index_loader.h"

namespace moltrevane {
namespace {

std::optional<RowStation> RowOf(StationKey key, const std::optional<StoredRow>& found) {
    if (!found) return std::nullopt;
    return RowStation{std::move(key), StationOf(*found)};
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

}  // namespace moltrevane
