// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stations of the list drawn around the car: the car in the middle, heading up while it
// moves and north up while it stands (an "N" marks north either way), each station a dot with
// its call, and rings at round distances that hold them all. Faint rings on the window's
// ground: dark and calm in the night palette.

#include <optional>
#include <vector>

#include "core/measured_station.h"
#include "screens/screen.h"

namespace moltrevane {

struct PictureArea {
    int x, y, width, height;  // design pixels
};

// `count` rings `stepKm` apart, the outermost at or beyond the farthest station: a step of 1, 2
// or 5 times a power of ten, at most four rings.
struct Rings {
    double stepKm;
    int count;
    bool operator==(const Rings&) const = default;
};
Rings RingsFor(double farthestKm);

struct AroundTheCar {
    std::vector<MeasuredStation> stations;  // nearest first
    std::optional<double> headingDeg;       // while the car moves
    Ink ink = Ink::Live;                    // the position's: greyed when kept from before
};

// Fills the area; without a position (nothing around) it stays empty.
void PaintStationPicture(Painter& painter, const PictureArea& area, const std::optional<AroundTheCar>& around);

}  // namespace moltrevane
