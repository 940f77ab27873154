// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_icon.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

#include <array>
#include <vector>

#include "screens/program_icon.h"

namespace moltrevane {
namespace {

Fl_RGB_Image* MakeIcon(int size) {
    static std::array<std::vector<unsigned char>, 2> storage;  // the images point into it
    std::vector<unsigned char>& pixels = storage[size == 32 ? 0 : 1];
    pixels = ProgramIconPixels(size);
    return new Fl_RGB_Image(pixels.data(), size, size, 3);
}

}  // namespace

Fl_RGB_Image* ProgramIcon() {
    static Fl_RGB_Image* icon = MakeIcon(32);
    return icon;
}

void SetProgramIcons(Fl_Window& window) {
    static Fl_RGB_Image* small = MakeIcon(16);
    const Fl_RGB_Image* icons[] = {ProgramIcon(), small};
    window.icons(icons, 2);
}

}  // namespace moltrevane
