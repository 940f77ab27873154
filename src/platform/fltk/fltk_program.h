// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program on FLTK: message boxes, the screens as windows, and the signals that end it.

#include <FL/Fl.H>

#include "screens/messages.h"
#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class FltkDialog;
class RunningInstance;

class FltkMessages final : public MessageSink {
public:
    void ShowMessage(std::string_view title, std::string_view text) override;
};

class FltkScreens final : public ScreenOpener {
public:
    // Shows the main screen until it is closed (or SIGINT, SIGTERM, SIGHUP), then shuts down;
    // a later start of this user's brings its windows to the front meanwhile.
    int RunProgram(ScreenContext& context, const RunningInstance& instance);
    void Open(ScreenKind kind) override;
    // Raises the program's windows, the main one first, and shows them if minimised.
    void BringToFront();

private:
    static void ComeForwardWhenAsked(FL_SOCKET fd, void* self);
    const RunningInstance* instance_ = nullptr;
    ScreenContext* context_ = nullptr;
    FltkDialog* main_ = nullptr;  // the modal screens open over it
};

}  // namespace moltrevane
