// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_palette.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace moltrevane {
namespace {

// FLTK's RGB colour value (fl_rgb_color, which is not constexpr).
constexpr Fl_Color Rgb(unsigned char r, unsigned char g, unsigned char b) {
    return (static_cast<Fl_Color>(r) << 24) | (static_cast<Fl_Color>(g) << 16) | (static_cast<Fl_Color>(b) << 8);
}

constexpr Palette kDay{{255, 255, 255}, {192, 192, 192}, {0, 0, 0},
                       Rgb(255, 0, 0), Rgb(150, 150, 150), Rgb(30, 70, 190), Rgb(200, 200, 200), FL_BLACK};
constexpr Palette kNight{{10, 4, 4}, {40, 18, 16}, {176, 112, 32},
                         Rgb(190, 40, 28), Rgb(80, 62, 58), Rgb(176, 112, 32), Rgb(58, 22, 18),
                         Rgb(150, 34, 24)};
const Palette* current = &kDay;

}  // namespace

const Palette& CurrentPalette() { return *current; }

void UseNightPalette(bool night) {
    const Palette& chosen = night ? kNight : kDay;
    if (current == &chosen) return;
    current = &chosen;
    Fl::background2(chosen.window[0], chosen.window[1], chosen.window[2]);
    Fl::background(chosen.controls[0], chosen.controls[1], chosen.controls[2]);
    Fl::foreground(chosen.text[0], chosen.text[1], chosen.text[2]);
    for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window)) window->redraw();
}

}  // namespace moltrevane
