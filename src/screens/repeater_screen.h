// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Seven station rows with distance and bearing (or, while the car moves, the way against its
// course), refreshed every second, nearest first.

#include <array>
#include <string>
#include <utility>

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

// "Follow 5 km", or "Follow off": the button that shows whether the list follows the car.
std::string FollowButtonText(int followKm);

class RepeaterScreen final : public Screen {
public:
    RepeaterScreen(ScreenContext& context, Dialog& dialog);

    void Initialise() override;
    void OnPress(int id) override;
    void OnFocusLost(int id) override;
    void OnTimer() override;
    void OnClose() override;

    void BeginNewCall(std::size_t row);
    void LookupRow(std::size_t row);
    void OpenStationInfo(std::size_t row);
    // The radio set to the row's station, on a tap; the rows' buttons then show how far it is.
    void TuneRow(std::size_t row);
    // From the station index; while the directory is still being read, the rows say so and
    // the search runs once it is.
    void Search();
    bool SearchWaits() const { return searchWaits_; }
    void RefreshDistances();

private:
    struct RowLabels {
        std::string km, grad, channel, info;  // UTF-8
    };
    void ShowRows();
    void ShowFollow();
    void ShowTuning();
    void ShowLabels();

    ScreenContext& context_;
    Dialog& dialog_;
    std::array<RowLabels, 7> labels_;
    bool searchWaits_ = false;
    std::pair<int, int> shownOrder_{0, 0};  // the rows' searches and reorders when last shown
};

}  // namespace moltrevane
