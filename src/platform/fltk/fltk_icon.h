// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Fl_RGB_Image;
class Fl_Window;

namespace moltrevane {

// The program's icon, 32 × 32: a locator square with the position's cross.
Fl_RGB_Image* ProgramIcon();
// The 32 × 32 and 16 × 16 icons as the window's large and small icon.
void SetProgramIcons(Fl_Window& window);

}  // namespace moltrevane
