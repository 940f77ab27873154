// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Info Station": the whole record of the row handed over in infoStation, and the Tune button
// that sets the radio to it in every layout.

#include <optional>
#include <string>

#include "directory/station.h"
#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class StationInfoScreen final : public Screen {
public:
    StationInfoScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    void Initialise() override;
    void OnPress(int id) override;
    void OnTimer() override { ShowRadio(); }
    void OnClose() override { dialog_.StopTimer(); }

private:
    void ShowRadio();

    ScreenContext& context_;
    Dialog& dialog_;
    std::optional<Station> station_;  // as the directory holds it now
    std::string shownRadio_;
};

// The edit-station screen has no logic: its layout is all it is.
class EditStationScreen final : public Screen {};

}  // namespace moltrevane
