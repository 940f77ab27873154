// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Port, speed, the raw NMEA view, the offline locator and the "Show only:" flags.

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class SettingsScreen final : public Screen {
public:
    SettingsScreen(ScreenContext& context, Dialog& dialog);

    void Initialise() override;
    void OnPress(int id) override;
    void OnFocusLost(int id) override;
    void OnTimer() override;
    void OnClose() override;

private:
    void OpenPort();
    void ClosePort();
    void OfflineLocatorLeft();
    void SetPortButtons(bool openEnabled, bool closeEnabled);

    ScreenContext& context_;
    Dialog& dialog_;
};

}  // namespace moltrevane
