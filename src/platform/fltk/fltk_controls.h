// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The FLTK widget each control of a layout is made of, and its fonts and parts at a scale.

#include <functional>

#include "screens/layout.h"
#include "screens/screen_scale.h"

class Fl_Widget;

namespace moltrevane {

// A control of the layout, labelled, to be placed by SizeControl; the window being built takes
// ownership. An entry calls `onLeave` when the user leaves it.
Fl_Widget* MakeControl(const ControlSpec& c, std::function<void()> onLeave);

// Places the control and sizes its fonts and parts at the scale.
void SizeControl(Fl_Widget& widget, const ControlSpec& c, const ScreenScale& scale);

}  // namespace moltrevane
