// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

std::unique_ptr<Screen> MakeScreen(ScreenKind kind, ScreenContext& context, Dialog& dialog);

}  // namespace moltrevane
