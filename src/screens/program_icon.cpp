// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/program_icon.h"

#include <array>
#include <cstddef>

namespace moltrevane {

std::vector<unsigned char> ProgramIconPixels(int size) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(size * size * 3));
    const int edge = size / 8, far = size - 1 - size / 8, cross = size * 5 / 8, arm = size / 5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::array<unsigned char, 3> rgb = {20, 40, 110};
            const bool onSquare = (x >= edge && x <= far && (y == edge || y == far)) ||
                                  (y >= edge && y <= far && (x == edge || x == far));
            const bool onCross = (y == size - 1 - cross && x >= cross - arm && x <= cross + arm) ||
                                 (x == cross && y >= size - 1 - cross - arm && y <= size - 1 - cross + arm);
            if (onSquare) rgb = {255, 255, 255};
            if (onCross) rgb = {230, 20, 20};
            for (std::size_t c = 0; c < 3; ++c) pixels[static_cast<std::size_t>(y * size + x) * 3 + c] = rgb[c];
        }
    }
    return pixels;
}

}  // namespace moltrevane
