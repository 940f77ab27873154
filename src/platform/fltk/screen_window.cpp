// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/screen_window.h"

#include <FL/Fl.H>

#include <algorithm>

#include "platform/fltk/fltk_controls.h"
#include "platform/fltk/fltk_painter.h"
#include "platform/fltk/window_manager_hints.h"
#include "screens/layout.h"

namespace moltrevane {

ScreenWindow::ScreenWindow(ScreenKind kind, int x, int y, const ScreenScale& scale)
    : Fl_Double_Window(x, y, WindowSize(scale.pixelsPerUnit, scale.shape).width,
                       WindowSize(scale.pixelsPerUnit, scale.shape).height),
      kind_(kind), scale_{scale.pixelsPerUnit, 0, 0, scale.shape} {
    const PixelRect smallest = WindowSize(kSmallestPixelsPerUnit, LayoutShape::Design);
    size_range(smallest.width, smallest.height);
}

ScreenWindow::~ScreenWindow() { Fl::remove_timeout(FitWithFrame, this); }

void ScreenWindow::show() {
    const bool first = !shown();
    Fl_Double_Window::show();
    if (!first) return;
    fitTries_ = 10;
    Fl::add_timeout(0.2, FitWithFrame, this);
}

void ScreenWindow::FitWithFrame(void* self) {
    auto* window = static_cast<ScreenWindow*>(self);
    if (!window->shown() || window->fullscreen_active()) return;
    const FrameExtents frame = FrameOf(*window);
    if (frame.top == 0 && frame.left == 0) {
        if (--window->fitTries_ > 0) Fl::repeat_timeout(0.2, FitWithFrame, self);
        return;
    }
    int x, y, w, h;
    Fl::screen_work_area(x, y, w, h, window->x(), window->y());
    const int width = std::min(window->w(), w - frame.left - frame.right);
    const int height = std::min(window->h(), h - frame.top - frame.bottom);
    const bool inside = window->x() - frame.left >= x && window->y() - frame.top >= y &&
                        window->x() + window->w() + frame.right <= x + w && window->y() + window->h() + frame.bottom <= y + h;
    // A framed window moves by its own corner (the frame's lies left and above it by the frame).
    if (!inside) window->resize(x + frame.left, y + frame.top, width, height);
}

void ScreenWindow::Add(Fl_Widget* widget) {
    placed_.push_back(widget);
    PlaceControl(placed_.size() - 1);
}

void ScreenWindow::draw() {
    Fl_Double_Window::draw();
    if (!screen) return;
    WidgetPainter painter(scale_);
    screen->Paint(painter, scale_.shape);
}

void ScreenWindow::resize(int x, int y, int w, int h) {
    const bool resized = w != this->w() || h != this->h();
    Fl_Double_Window::resize(x, y, w, h);
    if (!resized) return;
    scale_ = FittingScale(w, h);
    for (std::size_t i = 0; i < placed_.size(); ++i) PlaceControl(i);
    redraw();
}

int ScreenWindow::handle(int event) {
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_F + 11) {
        if (fullscreen_active()) fullscreen_off(); else fullscreen();
        return 1;
    }
    return Fl_Double_Window::handle(event);
}

void ScreenWindow::hide() {
    if (contains(Fl::focus())) Fl::focus(this);
    Fl_Double_Window::hide();
}

void ScreenWindow::PlaceControl(std::size_t i) {
    const auto controls = LayoutOf(kind_, scale_.shape).controls;
    SizeControl(*placed_[i], ShownPlace(controls[i], controls), scale_);
}

}  // namespace moltrevane
