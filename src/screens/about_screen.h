// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Info": version, terms of use, the choice of day or night colours, the import of station
// lists into the directory, and the way to the links.

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class AboutScreen final : public Screen {
public:
    AboutScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    void Initialise() override;
    // "Import stations…": the lists ticked in the picker are imported on a worker; the button
    // shows how far.
    void OnPress(int id) override;
    void OnTimer() override;
    // The choice is kept at once, in Moltrevane.ini; the main screen applies it within a second.
    void OnClose() override;

private:
    void ShowImport();

    ScreenContext& context_;
    Dialog& dialog_;
};

}  // namespace moltrevane
