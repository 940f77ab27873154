#pragma once
// What the driver chose for the road: how often the list searches by itself, how a change is
// told, and how long a locator the main screen shows. Kept in Moltrevane.ini.

#include <array>
#include <string_view>

#include "core/alerts.h"

namespace moltrevane {

// The choices as Moltrevane.ini names them, in the order the driving screen lists them.
inline constexpr std::array<int, 5> kFollowKmChoices = {0, 1, 5, 10, 20};  // 0: off
inline constexpr std::array<std::string_view, 5> kFollowNames = {"off", "1", "5", "10", "20"};
inline constexpr std::array<std::string_view, 3> kAlertNames = {"off", "tone", "speech"};  // by AlertMode
inline constexpr std::array<int, 3> kLocatorLengths = {6, 8, 10};
inline constexpr std::array<std::string_view, 3> kLocatorNames = {"6", "8", "10"};

struct DriveSettings {
    int followKm = 0;
    AlertMode alert = AlertMode::Tone;
    int locatorLength = 6;
    bool operator==(const DriveSettings&) const = default;
};

}  // namespace moltrevane
