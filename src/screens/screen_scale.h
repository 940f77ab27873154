// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How large a screen is drawn: its layout in dialog units, and the screens' drawing in the
// pixels of the original 1.75-pixel unit, both scaled alike and centred in the window.

#include "screens/layout.h"

namespace moltrevane {

// The unit the drawing's coordinates (Painter calls) are given in.
inline constexpr double kDesignPixelsPerUnit = 1.75;

struct PixelRect {
    int x, y, width, height;
    bool operator==(const PixelRect&) const = default;
};

struct ScreenScale {
    double pixelsPerUnit = kDesignPixelsPerUnit;
    int originX = 0, originY = 0;  // where the layout's top left lies in the window
    LayoutShape shape = LayoutShape::Design;
    bool operator==(const ScreenScale&) const = default;

    // A rectangle of the layout, in dialog units, as window pixels.
    PixelRect Rect(int x, int y, int width, int height) const;
    PixelRect Of(const ControlSpec& c) const { return Rect(c.x, c.y, c.width, c.height); }
    // A length or point of the drawing, in design pixels, as window pixels.
    int Length(double designPixels) const;
    int X(int designX) const { return originX + Length(designX); }
    int Y(int designY) const { return originY + Length(designY); }
    double Factor() const { return pixelsPerUnit / kDesignPixelsPerUnit; }
};

// The smallest scale drawn, for a screen smaller than the design's size: 139 × 154 pixels.
inline constexpr double kSmallestPixelsPerUnit = 1.0;

// The shape for width × height pixels, and the largest scale at which a whole screen of that
// shape fits, centred; the design's size where that fits. Examples: 480 × 800 → the design's
// shape at 3.45 pixels a unit, 480 × 532 from y 134; 800 × 480 → wide at 3.12, 798 × 480.
ScreenScale FittingScale(int width, int height);

// A car's panel: the wide layout, or a scale at which the design's 154 units are 460 pixels
// and more (its shorter side 480 pixels).
inline constexpr double kCarPixelsPerUnit = 3.0;
inline bool IsCarScale(const ScreenScale& scale) {
    return scale.shape != LayoutShape::Design || scale.pixelsPerUnit >= kCarPixelsPerUnit;
}

// The window size of a whole screen of a shape at a scale with its origin at the top left.
PixelRect WindowSize(double pixelsPerUnit, LayoutShape shape);

// A window moved into the work area as far as it fits there, so that no screen opens off it.
PixelRect OnScreen(PixelRect window, PixelRect workArea);

}  // namespace moltrevane
