// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace moltrevane {

// What a first start without a position shows where the position, a search or a distance
// would be.
inline constexpr std::string_view kNoPositionHint =
    "No position yet: open the GPS port in Settings, or type an offline locator there.";
inline constexpr std::string_view kNoPositionShort = "no position";

// A message box with one OK button and no owner window; returns when dismissed.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::string_view title, std::string_view text) = 0;
};

}  // namespace moltrevane
