#include "platform/fltk/window_manager_hints.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>

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

}  // namespace moltrevane
