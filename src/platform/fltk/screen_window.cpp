#include "platform/fltk/screen_window.h"

#include <FL/Fl.H>

#include "platform/fltk/fltk_controls.h"
#include "platform/fltk/fltk_painter.h"
#include "screens/layout.h"

namespace moltrevane {

ScreenWindow::ScreenWindow(ScreenKind kind, int x, int y, const ScreenScale& scale)
    : Fl_Double_Window(x, y, WindowSize(scale.pixelsPerUnit, scale.shape).width,
                       WindowSize(scale.pixelsPerUnit, scale.shape).height),
      kind_(kind), scale_{scale.pixelsPerUnit, 0, 0, scale.shape} {
    const PixelRect smallest = WindowSize(kSmallestPixelsPerUnit, LayoutShape::Design);
    size_range(smallest.width, smallest.height);
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
