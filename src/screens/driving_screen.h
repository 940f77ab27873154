// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Driving": whether the list follows the car and after how many km, how a change is told
// (a tone, or spoken when espeak-ng is there) and which changes are (a new nearest, a new
// square of 4 or 6 characters, a fix lost and back), and how long a locator the main screen
// shows.

#include "core/drive_settings.h"
#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class DrivingScreen final : public Screen {
public:
    DrivingScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    void Initialise() override;
    // The choices take effect as the screen closes, and are kept in Moltrevane.ini.
    void OnClose() override;

private:
    void TakeChoices();
    void ShowSpeech();

    ScreenContext& context_;
    Dialog& dialog_;
    DriveSettings opened_;  // as the screen found them
};

}  // namespace moltrevane
