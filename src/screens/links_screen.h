// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Links": whether the own locator goes to WSJT-X and JS8Call, where, and how each took it;
// whether the radio is tuned through rigctld, where that listens, and what the radio was set to.

#include "links/locator_links.h"
#include "links/radio_link.h"
#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class LinksScreen final : public Screen {
public:
    LinksScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    void Initialise() override;
    // A tick or a new address takes effect at once; the states follow within a second.
    void OnPress(int id) override;
    void OnFocusLost(int id) override;
    void OnTimer() override { ShowStates(); }
    // Kept in Moltrevane.ini when anything changed.
    void OnClose() override;

private:
    void TakeControls();
    void ShowStates();
    void ShowText(int id, const std::string& text);

    ScreenContext& context_;
    Dialog& dialog_;
    LinkSettings opened_;  // as the screen found them
    RigSettings openedRig_;
    std::string shownRig_;  // the radio's state line, as last shown
};

}  // namespace moltrevane
