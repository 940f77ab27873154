// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/window_manager_hints.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>

namespace moltrevane {
namespace {

// The Motif hints that window managers still read (_MOTIF_WM_HINTS, five longs).
constexpr long kFunctionsAndDecorations = 1 | 2;
constexpr long kAllBut = 1, kMinimise = 8, kMinimiseButton = 32;

}  // namespace

void ForbidMinimising(Fl_Window& window) {
    if (!window.shown()) return;
    const Atom hints = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    const long value[5] = {kFunctionsAndDecorations, kAllBut | kMinimise, kAllBut | kMinimiseButton, 0, 0};
    XChangeProperty(fl_display, fl_xid(&window), hints, hints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value), 5);
}

FrameExtents FrameOf(Fl_Window& window) {
    if (!window.shown()) return {};
    const Atom extents = XInternAtom(fl_display, "_NET_FRAME_EXTENTS", True);
    if (extents == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(fl_display, fl_xid(&window), extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &left,
                           &data) != Success)
        return {};
    FrameExtents frame;
    if (data && format == 32 && count == 4) {
        const auto* values = reinterpret_cast<const long*>(data);
        frame = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]), static_cast<int>(values[3])};
    }
    if (data) XFree(data);
    return frame;
}

}  // namespace moltrevane
