// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message on a car's panel: its text as large as the screens', and an "OK" a finger can hit,
// in a window that fits the work area with its frame.

#include <string_view>

#include "screens/screen_scale.h"

namespace moltrevane {

// Returns once "OK" (or Enter, Escape, the close box) dismissed it. UTF-8 texts.
void ShowMessageWindow(std::string_view title, std::string_view text, const ScreenScale& scale);

}  // namespace moltrevane
