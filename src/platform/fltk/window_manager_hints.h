#pragma once
// What the window manager is asked for a window beyond FLTK's own requests.

class Fl_Window;

namespace moltrevane {

// No minimise button for a shown modal screen: minimised, it would hide the whole program, and
// a car's screen has no task bar to bring it back from.
void ForbidMinimising(Fl_Window& window);

}  // namespace moltrevane
