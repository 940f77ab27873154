// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/about_screen.h"

#include "core/app_state.h"
#include "core/palette.h"
#include "directory/station_directory.h"
#include "screens/control_ids.h"

namespace moltrevane {

void AboutScreen::Initialise() {
    dialog_.Select(ids::kPaletteChoice, static_cast<int>(context_.state.palette));
    ShowImport();
}

void AboutScreen::OnPress(int id) {
    if (id == ids::kLinksButton) context_.opener.Open(ScreenKind::Links);
    if (id != ids::kImportStations || context_.import.Running()) return;
    context_.opener.Open(ScreenKind::ListPicker);  // returns when it is left, an import started or not
    ShowImport();
}

void AboutScreen::OnTimer() {
    // Seen before the button is: the button is back when the report shows.
    const bool ended = !context_.import.Running();
    ShowImport();
    if (ended) ShowImportReport(context_);
}

void AboutScreen::ShowImport() {
    const bool running = context_.import.Running();
    dialog_.SetEnabled(ids::kImportStations, !running);
    dialog_.SetText(ids::kImportStations, running ? "Importing " + std::to_string(context_.import.PercentDone()) + " %"
                                                  : std::string(ids::kImportStationsText));
    if (running) dialog_.StartTimer();
    else dialog_.StopTimer();
}

void AboutScreen::OnClose() {
    const int item = dialog_.Selection(ids::kPaletteChoice);
    if (item < 0 || item > static_cast<int>(PaletteChoice::Night)) return;
    const auto chosen = static_cast<PaletteChoice>(item);
    if (chosen == context_.state.palette) return;
    context_.state.palette = chosen;
    SaveIniTelling(context_, "the colours");
}

}  // namespace moltrevane
