#include "screens/nearest_rows.h"

#include <utility>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "core/own_position.h"
#include "directory/index_loader.h"

namespace moltrevane {

NearestRowsFilled FillNearestRows(ScreenContext& context) {
    context.stationIndex.Refresh();
    const std::shared_ptr<const StationIndex> index = context.stationIndex.Current();
    if (!index || !context.stationIndex.UpToDate()) return {};
    const StationFilter filter = FilterOf(context.state);
    const std::optional<GeoPoint> own = FixOwnPosition(context.state);
    // "Nearest" to a position the program does not have would mean nothing: no rows.
    const NearStations nearest = own ? index->Nearest(*own, filter) : NearStations{};
    NearestRowsFilled filled{true, {}};
    for (std::size_t r = 0; r < context.rows.rowStation.size(); ++r) {
        // The whole call and the row the search measured: a longer call cut short, or another
        // row of a call listed twice, would be another station.
        if (r < nearest.size()) filled.missed[r] = !FillRow(context, r, {nearest[r].call, nearest[r].locator, filter});
        else ForgetRow(context.rows, r);
    }
    ++context.rows.searches;
    if (own) context.followMark = FollowMark{*own, filter};
    return filled;
}

bool FillRow(ScreenContext& context, std::size_t row, StationKey station) {
    const CallLookupResult result = context.directory.LookupCall(station);
    RepeaterRows& rows = context.rows;
    if (!result.found) {
        ForgetRow(rows, row);
        return false;
    }
    rows.rowInfo[row] = result.channel.empty() ? result.lookupText : result.channel + "  " + result.lookupText;
    rows.rowChannel[row] = result.channel;
    rows.rowLocator[row] = ToLocatorText(result.lookupText);  // the found row's locator
    rows.rowStation[row] = std::move(station);
    return true;
}

void ForgetRow(RepeaterRows& rows, std::size_t row) {
    rows.rowStation[row] = {};
    rows.rowInfo[row].clear();
    rows.rowChannel[row].clear();
    rows.rowLocator[row] = {};
}

}  // namespace moltrevane
