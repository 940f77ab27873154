// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A station of the list as this second measures it from the own point.

#include "directory/station.h"

namespace moltrevane {

struct MeasuredStation {
    Station station;
    double km = 0;
    double bearingDeg = 0;  // clockwise from north
};

}  // namespace moltrevane
