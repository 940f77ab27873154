// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One screen's FLTK window: paints the screen's own drawing over the controls on every repaint,
// and lays the controls out anew, in the shape and at the largest scale that fit, whenever its
// size changes. F11 makes it full screen and back.

#include <FL/Fl_Double_Window.H>

#include <vector>

#include "screens/screen.h"
#include "screens/screen_scale.h"

namespace moltrevane {

class ScreenWindow final : public Fl_Double_Window {
public:
    ScreenWindow(ScreenKind kind, int x, int y, const ScreenScale& scale);

    Screen* screen = nullptr;
    const ScreenScale& scale() const { return scale_; }

    // The next control of the layout.
    void Add(Fl_Widget* widget);
    void draw() override;
    void resize(int x, int y, int w, int h) override;
    int handle(int event) override;
    // Hiding takes the focus without telling the entry that had it; leaving it first lets
    // what was typed there count, however the screen is closed.
    void hide() override;
    void show() override;
    ~ScreenWindow() override;

private:
    // Under a window manager the frame pushes the window down and off the work area: once the
    // frame is known (the manager tells it only on its own time), window and frame are made to
    // fit the work area together, the frame at the area's top left. Tried a few times after showing.
    static void FitWithFrame(void* self);
    int fitTries_ = 0;
    void PlaceControl(std::size_t i);

    ScreenKind kind_;
    ScreenScale scale_;
    std::vector<Fl_Widget*> placed_;  // in the layout's order
};

}  // namespace moltrevane
