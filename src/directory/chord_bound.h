// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cheap bound a nearest search passes stations over by: the straight chord between two
// points of the unit sphere, against the longest chord a point within some distance can have.

#include "geo/locator.h"

namespace moltrevane {

struct UnitVector {
    double x, y, z;
};

UnitVector OnSphere(GeoPoint point);

// The chord between the own point and a station's, both on the unit sphere.
template <typename Vector>
double Chord(const UnitVector& own, const Vector& point) {
    const double dx = point.x - own.x, dy = point.y - own.y, dz = point.z - own.z;
    return dx * dx + dy * dy + dz * dz;  // squared: compared with the square of a limit
}

// The longest chord of a point that may still lie within `km`, squared; infinite past the
// antipode.
double SquaredChordWithin(int km);

}  // namespace moltrevane
