// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/station_info_screen.h"

#include "core/app_state.h"
#include "directory/station_record.h"
#include "links/radio_link.h"
#include "screens/control_ids.h"
#include "screens/radio_tuning.h"
#include "screens/station_texts.h"

namespace moltrevane {

// The values a driver looks for, each named, then the whole record as stored.
void StationInfoScreen::Initialise() {
    const std::optional<StoredRow> row = context_.directory.LookupRow(context_.infoStation);
    std::vector<std::string> lines;
    if (row) {
        station_ = StationOf(*row);
        lines = NamedStationLines(*station_);
        lines.emplace_back("Record:");
        for (std::string& line : StationRecordLines(context_.directory, context_.infoStation)) lines.push_back(std::move(line));
    }
    dialog_.SetLines(ids::kStationRecordList, lines);
    ShowRadio();
    dialog_.StartTimer();
}

void StationInfoScreen::OnPress(int id) {
    if (id != ids::kInfoTune || !station_ || !MayTune(context_.state.rig, *station_)) return;
    context_.radio.Tune(*station_, TuneCause::Tap);
    ShowRadio();
}

// The radio's line while it is on: what it was set to, or why not.
void StationInfoScreen::ShowRadio() {
    const bool may = station_ && MayTune(context_.state.rig, *station_);
    dialog_.SetEnabled(ids::kInfoTune, may);
    const std::string line = context_.state.rig.on ? context_.radio.State().line : std::string();
    if (line != shownRadio_) dialog_.SetDirectoryText(ids::kInfoRadioState, line);
    shownRadio_ = line;
}

}  // namespace moltrevane
