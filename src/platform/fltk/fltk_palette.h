// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The day and night colours of every window.

#include <FL/Enumerations.H>

namespace moltrevane {

// Night: near-black, dim red and amber, nothing white to dazzle a driver.
struct Palette {
    unsigned char window[3], controls[3], text[3];
    Fl_Color live, stale, offline, faint, lines;  // the main screen's drawing, by Ink, and its lines
};

// The palette every window shows now.
const Palette& CurrentPalette();

// The night palette for every window, those open and those opened later; or the day's.
void UseNightPalette(bool night);

}  // namespace moltrevane
