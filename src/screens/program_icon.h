// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace moltrevane {

// The program's icon at any size: a locator square with the position's cross on dark blue.
// Returns size × size pixels, row by row from the top, 3 bytes (R, G, B) each.
std::vector<unsigned char> ProgramIconPixels(int size);

}  // namespace moltrevane
