// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the driver chose for the road: how often the list searches by itself, how a change is
// told and which changes are, and how long a locator the main screen shows. Kept in
// Moltrevane.ini.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "core/alerts.h"

namespace moltrevane {

// The choices as Moltrevane.ini names them, in the order the driving screen lists them.
inline constexpr std::array<int, 5> kFollowKmChoices = {0, 1, 5, 10, 20};  // 0: off
inline constexpr std::array<std::string_view, 5> kFollowNames = {"off", "1", "5", "10", "20"};
inline constexpr std::array<AlertMode, 3> kAlertModes = {AlertMode::Off, AlertMode::Tone, AlertMode::Speech};
inline constexpr std::array<std::string_view, 3> kAlertNames = {"off", "tone", "speech"};
inline constexpr std::array<int, 3> kLocatorLengths = {6, 8, 10};
inline constexpr std::array<std::string_view, 3> kLocatorNames = {"6", "8", "10"};
inline constexpr std::array<int, 3> kSquareLengths = {0, 4, 6};  // 0: squares are not told
inline constexpr std::array<std::string_view, 3> kSquareNames = {"off", "4", "6"};

// A value's place among its choices; the first (off, or the shortest) for one not among them.
template <typename Value, std::size_t N>
std::size_t PlaceOf(Value value, const std::array<Value, N>& choices) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    return found == choices.end() ? 0 : static_cast<std::size_t>(found - choices.begin());
}

struct DriveSettings {
    int followKm = 0;
    AlertMode alert = AlertMode::Tone;
    int locatorLength = 6;
    AlertChoices told;  // which changes an alert tells
    bool operator==(const DriveSettings&) const = default;
};

}  // namespace moltrevane
