// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window manager is asked for a window beyond FLTK's own requests.

class Fl_Window;

namespace moltrevane {

// No minimise button for a shown modal screen: minimised, it would hide the whole program, and
// a car's screen has no task bar to bring it back from.
void ForbidMinimising(Fl_Window& window);

// The frame the window manager draws round a shown window (_NET_FRAME_EXTENTS); all zero
// without a window manager, or before it framed the window.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};
FrameExtents FrameOf(Fl_Window& window);

}  // namespace moltrevane
