#include "screens/repeater_screen.h"

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "core/own_position.h"
#include "directory/station_directory.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

constexpr std::size_t kRows = ids::kRepeaterRows.size();
constexpr std::size_t kTypedCallLimit = 23;  // what the historic call buffer kept

// Typed text is 8-bit; the directory's text is UTF-8.
std::string TypedCall(std::string_view typed) { return Utf8FromCodePage(typed.substr(0, kTypedCallLimit)); }

}  // namespace

RepeaterScreen::RepeaterScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}

void RepeaterScreen::Initialise() {
    for (std::size_t r = 0; r < kRows; ++r) {
        const ids::RepeaterRowIds& row = ids::kRepeaterRows[r];
        labels_[r] = {"", "", context_.rows.rowInfo[r]};
        dialog_.SetDirectoryText(row.call, context_.rows.rowStation[r].call);
        dialog_.SetReadOnly(row.call, true);
    }
    dialog_.SetEnabled(ids::kSearchQrg, false);
    dialog_.SetEnabled(ids::kEditStation, false);
    dialog_.SetEnabled(ids::kSearchStation, true);
    ShowLabels();
    dialog_.StartTimer();
}

void RepeaterScreen::OnPress(int id) {
    if (id == ids::kSearchStation) Search();
    if (id == ids::kEditStation) context_.opener.Open(ScreenKind::EditStation);  // the button stays disabled
    for (std::size_t r = 0; r < kRows; ++r) {
        if (id == ids::kRepeaterRows[r].newCall) BeginNewCall(r);
        if (id == ids::kRepeaterRows[r].stationInfo) OpenStationInfo(r);
    }
}

void RepeaterScreen::OnFocusLost(int id) {
    for (std::size_t r = 0; r < kRows; ++r)
        if (id == ids::kRepeaterRows[r].call) LookupRow(r);
}

void RepeaterScreen::BeginNewCall(std::size_t row) {
    const int call = ids::kRepeaterRows[row].call;
    dialog_.SetText(call, "");
    dialog_.SetReadOnly(call, false);
    dialog_.Focus(call);
}

void RepeaterScreen::ForgetRow(std::size_t row) {
    labels_[row] = {};
    context_.rows.rowStation[row] = {};
    context_.rows.rowInfo[row].clear();
    context_.rows.rowLocator[row] = {};
}

void RepeaterScreen::LookupRow(std::size_t row) {
    const int call = ids::kRepeaterRows[row].call;
    dialog_.SetReadOnly(call, true);
    FillRow(row, {TypedCall(dialog_.Text(call)), std::nullopt, StationFilter{}});  // a call asked for by name is shown
    ShowLabels();
}

void RepeaterScreen::FillRow(std::size_t row, StationKey station) {
    const int callId = ids::kRepeaterRows[row].call;
    const CallLookupResult result = context_.directory.LookupCall(station);
    if (!result.found) {
        dialog_.SetText(callId, "no Call");
        ForgetRow(row);
        return;
    }
    dialog_.SetDirectoryText(callId, station.call);
    labels_[row].info = result.channel.empty() ? result.lookupText : result.channel + "  " + result.lookupText;
    context_.rows.rowStation[row] = std::move(station);
    context_.rows.rowInfo[row] = labels_[row].info;
    context_.rows.rowLocator[row] = ToLocatorText(result.lookupText);  // the found row's locator
}

void RepeaterScreen::OpenStationInfo(std::size_t row) {
    if (context_.rows.rowStation[row].call.empty()) return;
    context_.infoStation = context_.rows.rowStation[row];
    context_.opener.Open(ScreenKind::StationInfo);
}

void RepeaterScreen::Search() {
    dialog_.StopTimer();
    dialog_.SetEnabled(ids::kSearchStation, false);
    for (const ids::RepeaterRowIds& row : ids::kRepeaterRows) dialog_.SetText(row.call, "   search");
    const StationFilter filter = FilterOf(context_.state);
    if (const std::optional<GeoPoint> own = FixOwnPosition(context_.state)) {
        SearchNearest(*own, context_.directory, filter, context_.stations, context_.nearest);
    } else {  // "nearest" to a position the program does not have would mean nothing: no rows
        context_.nearest.fill(NearestEntry{});
        context_.stations.Clear();
    }
    for (std::size_t r = 0; r < kRows; ++r) {
        const NearestEntry& entry = context_.nearest[r];
        if (entry.stationIndex == kNoStation) {
            dialog_.SetText(ids::kRepeaterRows[r].call, "");
            ForgetRow(r);
            continue;
        }
        // The whole call and the row the search measured: a longer call cut short, or another
        // row of a call listed twice, would be another station.
        const auto index = static_cast<std::size_t>(entry.stationIndex);
        labels_[r].km = std::to_string(entry.distanceKm) + " km";  // gone with the row if its lookup fails
        FillRow(r, {std::string(context_.stations.Call(index)), std::string(context_.stations.Locator(index)), filter});
    }
    ShowLabels();
    dialog_.SetEnabled(ids::kSearchStation, true);
    dialog_.StartTimer();
}

void RepeaterScreen::RefreshDistances() {
    const std::optional<GeoPoint> own = FixOwnPosition(context_.state);
    for (std::size_t r = 0; r < kRows; ++r) {
        const std::string_view locator = LocatorView(context_.rows.rowLocator[r]);
        if (!own || !IsValidLocator(locator)) {
            labels_[r].km.clear();
            labels_[r].grad.clear();
            continue;
        }
        const DistanceBearingTexts texts = DescribeOwnToLocator(context_.state, *own, locator);
        labels_[r].km = texts.distance;
        labels_[r].grad = texts.bearing;
    }
    ShowLabels();
    dialog_.Redraw();
}

void RepeaterScreen::ShowLabels() {
    for (std::size_t r = 0; r < kRows; ++r) {
        const ids::RepeaterRowIds& row = ids::kRepeaterRows[r];
        dialog_.SetText(row.km, labels_[r].km);
        dialog_.SetText(row.grad, labels_[r].grad);
        dialog_.SetDirectoryText(row.info, labels_[r].info);
    }
}

}  // namespace moltrevane
