#pragma once
// Seven station rows with distance and bearing, refreshed every second.

#include <array>
#include <string>

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class RepeaterScreen final : public Screen {
public:
    RepeaterScreen(ScreenContext& context, Dialog& dialog);

    void Initialise() override;
    void OnPress(int id) override;
    void OnFocusLost(int id) override;
    void OnTimer() override { RefreshDistances(); }

    void BeginNewCall(std::size_t row);
    void LookupRow(std::size_t row);
    void OpenStationInfo(std::size_t row);
    void Search();
    void RefreshDistances();

private:
    struct RowLabels {
        std::string km, grad, info;
    };
    void ShowLabels();
    void ForgetRow(std::size_t row);
    // Looks the station's row up for the row's info line and locator.
    void FillRow(std::size_t row, StationKey station);

    ScreenContext& context_;
    Dialog& dialog_;
    std::array<RowLabels, 7> labels_;
};

}  // namespace moltrevane
