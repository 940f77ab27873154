// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/screen_scale.h"

#include <algorithm>
#include <cmath>

namespace moltrevane {
namespace {

int Round(double pixels) { return static_cast<int>(std::lround(pixels)); }

}  // namespace

PixelRect ScreenScale::Rect(int x, int y, int width, int height) const {
    // Edges are rounded, not sizes, so neighbours stay neighbours at every scale.
    const int left = originX + Round(x * pixelsPerUnit), top = originY + Round(y * pixelsPerUnit);
    return {left, top, originX + Round((x + width) * pixelsPerUnit) - left,
            originY + Round((y + height) * pixelsPerUnit) - top};
}

int ScreenScale::Length(double designPixels) const { return Round(designPixels * Factor()); }

ScreenScale FittingScale(int width, int height) {
    const LayoutShape shape = ShapeFor(width, height);
    const LayoutUnits units = UnitsOf(shape);
    const PixelRect design = WindowSize(kDesignPixelsPerUnit, shape);  // rounded: 243 × 270 fits the design
    const bool designFits = design.width <= width && design.height <= height;
    const double smallest = designFits ? kDesignPixelsPerUnit : kSmallestPixelsPerUnit;
    const double scale = std::max(smallest, std::min(static_cast<double>(width) / units.width,
                                                     static_cast<double>(height) / units.height));
    const PixelRect used = WindowSize(scale, shape);
    return {scale, std::max(0, (width - used.width) / 2), std::max(0, (height - used.height) / 2), shape};
}

PixelRect WindowSize(double pixelsPerUnit, LayoutShape shape) {
    const LayoutUnits units = UnitsOf(shape);
    return ScreenScale{pixelsPerUnit}.Rect(0, 0, units.width, units.height);
}

PixelRect OnScreen(PixelRect window, PixelRect workArea) {
    const auto into = [](int at, int size, int areaAt, int areaSize) {
        return std::max(areaAt, std::min(at, areaAt + areaSize - size));
    };
    return {into(window.x, window.width, workArea.x, workArea.width),
            into(window.y, window.height, workArea.y, workArea.height), window.width, window.height};
}

}  // namespace moltrevane
