// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's keypad as an FLTK window of its own, titled "Keypad", over the screen that asked.

#include <optional>
#include <string>
#include <string_view>

#include "screens/keypad.h"
#include "screens/screen_scale.h"

namespace moltrevane {

// The text typed on the keypad, starting from `text`; nothing when it was cancelled. A physical
// keyboard types into it as well (Enter for "OK", Escape for "Cancel").
std::optional<std::string> AskOnKeypad(KeypadUse use, std::string_view text, const ScreenScale& scale);

}  // namespace moltrevane
