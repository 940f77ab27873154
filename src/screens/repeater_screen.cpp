// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/repeater_screen.h"

#include "core/app_state.h"
#include "core/own_position.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"
#include "screens/messages.h"
#include "screens/nearest_rows.h"
#include "screens/radio_tuning.h"
#include "screens/station_texts.h"

namespace moltrevane {
namespace {

constexpr std::size_t kRows = ids::kRepeaterRows.size();
constexpr std::size_t kTypedCallLimit = 23;  // what the historic call buffer kept

std::string ChannelOf(const std::optional<RowStation>& row) { return row ? ChannelText(row->station) : std::string(); }
std::string PlaceOf(const std::optional<RowStation>& row) { return row ? RowPlaceText(row->station) : std::string(); }

// Typed text is 8-bit; the directory's text is UTF-8.
std::string TypedCall(std::string_view typed) { return Utf8FromCodePage(typed.substr(0, kTypedCallLimit)); }

}  // namespace

std::string FollowButtonText(int followKm) {
    return followKm > 0 ? "Follow " + std::to_string(followKm) + " km" : "Follow off";
}

RepeaterScreen::RepeaterScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}

void RepeaterScreen::Initialise() {
    for (std::size_t r = 0; r < kRows; ++r) dialog_.SetReadOnly(ids::kRepeaterRows[r].call, true);
    ShowRows();
    RefreshDistances();  // at once, not a second later
    dialog_.SetEnabled(ids::kEditStation, false);
    dialog_.SetEnabled(ids::kSearchStation, true);
    dialog_.StartTimer();
}

void RepeaterScreen::OnPress(int id) {
    if (id == ids::kSearchStation) Search();
    if (id == ids::kFollowButton) {
        context_.opener.Open(ScreenKind::Driving);
        ShowFollow();
    }
    if (id == ids::kEditStation) context_.opener.Open(ScreenKind::EditStation);  // the button stays disabled
    for (std::size_t r = 0; r < kRows; ++r) {
        if (id == ids::kRepeaterRows[r].newCall) BeginNewCall(r);
        if (id == ids::kRepeaterRows[r].stationInfo) OpenStationInfo(r);
        if (id == ids::kRepeaterRows[r].tune) TuneRow(r);
    }
}

void RepeaterScreen::OnFocusLost(int id) {
    for (std::size_t r = 0; r < kRows; ++r)
        if (id == ids::kRepeaterRows[r].call) LookupRow(r);
}

void RepeaterScreen::OnTimer() {
    if (searchWaits_) Search();  // once the directory is read
    else if (shownOrder_ != std::pair(context_.rows.searches, context_.rows.reorders)) ShowRows();  // the list followed the car
    RefreshDistances();
    ShowTuning();
}

void RepeaterScreen::OnClose() { context_.rows.typing.reset(); }

// A typed row is the user's: the list stops following the car, and the button says so.
void RepeaterScreen::BeginNewCall(std::size_t row) {
    if (context_.state.drive.followKm != 0) {
        context_.state.drive.followKm = 0;
        SaveIniTelling(context_, "the driving settings");
        ShowFollow();
    }
    const int call = ids::kRepeaterRows[row].call;
    context_.rows.typing = row;
    dialog_.SetText(call, "");
    dialog_.SetReadOnly(call, false);
    dialog_.Focus(call);
}

void RepeaterScreen::LookupRow(std::size_t row) {
    const int call = ids::kRepeaterRows[row].call;
    context_.rows.typing.reset();
    dialog_.SetReadOnly(call, true);
    const bool found = FillRow(context_, row, {TypedCall(dialog_.Text(call)), std::nullopt, StationFilter{}});  // whatever the filters hide
    labels_[row] = {"", "", ChannelOf(context_.rows.rows[row]), PlaceOf(context_.rows.rows[row])};
    if (found) dialog_.SetDirectoryText(call, context_.rows.rows[row]->key.call);
    else dialog_.SetText(call, "no Call");
    ShowLabels();
}

void RepeaterScreen::TuneRow(std::size_t row) {
    const std::optional<RowStation>& shown = context_.rows.rows[row];
    if (!shown || !MayTune(context_.state.rig, shown->station)) return;
    context_.radio.Tune(shown->station, TuneCause::Tap);
    ShowTuning();
}

// Each row's button says whether the radio is on its station; a row the radio cannot be set
// to has none to tap.
void RepeaterScreen::ShowTuning() {
    const RigState radio = context_.radio.State();
    for (std::size_t r = 0; r < kRows; ++r) {
        const std::optional<RowStation>& shown = context_.rows.rows[r];
        const int id = ids::kRepeaterRows[r].tune;
        const bool may = shown && MayTune(context_.state.rig, shown->station);
        const std::string_view text = may ? TuneButtonText(radio, shown->station) : ids::kTuneText;
        if (dialog_.Text(id) != text) dialog_.SetText(id, text);
        dialog_.SetEnabled(id, may);
    }
}

void RepeaterScreen::OpenStationInfo(std::size_t row) {
    if (!context_.rows.rows[row]) return;
    context_.infoStation = context_.rows.rows[row]->key;
    context_.opener.Open(ScreenKind::StationInfo);
}

void RepeaterScreen::Search() {
    dialog_.StopTimer();
    dialog_.SetEnabled(ids::kSearchStation, false);
    const NearestRowsFilled filled = FillNearestRows(context_, OwnPosition(context_.state));
    searchWaits_ = !filled.loaded;
    if (searchWaits_) {  // a million stations take a second or two to read: the search follows
        for (const ids::RepeaterRowIds& row : ids::kRepeaterRows) dialog_.SetText(row.call, "   loading");
    } else {
        ShowRows();
        for (std::size_t r = 0; r < kRows; ++r)
            if (filled.missed[r]) dialog_.SetText(ids::kRepeaterRows[r].call, "no Call");
        RefreshDistances();
        if (!OwnPosition(context_.state)) {  // nothing to search from: say how to get a position
            labels_[0].info = kNoPositionHint;
            ShowLabels();
        }
        dialog_.SetEnabled(ids::kSearchStation, true);
    }
    dialog_.StartTimer();
}

void RepeaterScreen::ShowRows() {
    for (std::size_t r = 0; r < kRows; ++r) {
        const std::optional<RowStation>& shown = context_.rows.rows[r];
        labels_[r] = {"", "", ChannelOf(shown), PlaceOf(shown)};
        dialog_.SetDirectoryText(ids::kRepeaterRows[r].call, shown ? shown->key.call : "");
    }
    shownOrder_ = {context_.rows.searches, context_.rows.reorders};
    ShowFollow();
    ShowTuning();
    ShowLabels();
}

void RepeaterScreen::ShowFollow() { dialog_.SetText(ids::kFollowButton, FollowButtonText(context_.state.drive.followKm)); }

// Distances from a position kept from before are greyed, as the main screen greys it; while the
// car moves, each row points the way to its station.
void RepeaterScreen::RefreshDistances() {
    const AppState& state = context_.state;
    const std::optional<GeoPoint> own = OwnPosition(state);
    const std::optional<double> heading = HeadingDeg(state);
    for (std::size_t r = 0; r < kRows; ++r) {
        const std::optional<RowStation>& shown = context_.rows.rows[r];
        const RowMeasureTexts measured = own && shown ? RowMeasure(shown->station, *own, heading) : RowMeasureTexts{};
        labels_[r].km = measured.distance;
        labels_[r].grad = measured.direction;
    }
    ShowLabels();
    const bool live = !PositionStale(state);
    for (const ids::RepeaterRowIds& row : ids::kRepeaterRows) {
        dialog_.SetEnabled(row.km, live);
        dialog_.SetEnabled(row.grad, live);
    }
    dialog_.Redraw();
}

void RepeaterScreen::ShowLabels() {
    for (std::size_t r = 0; r < kRows; ++r) {
        const ids::RepeaterRowIds& row = ids::kRepeaterRows[r];
        dialog_.SetDirectoryText(row.km, labels_[r].km);
        dialog_.SetDirectoryText(row.grad, labels_[r].grad);
        const RowLabels& shown = labels_[r];
        if (dialog_.Shape() == LayoutShape::Design) {  // one info line: the channel leads it
            dialog_.SetDirectoryText(row.channel, "");
            dialog_.SetDirectoryText(row.info, shown.channel.empty() || shown.info.empty() ? shown.channel + shown.info
                                                                                           : shown.channel + "  " + shown.info);
        } else {
            dialog_.SetDirectoryText(row.channel, shown.channel);
            dialog_.SetDirectoryText(row.info, shown.info);
        }
    }
}

}  // namespace moltrevane
