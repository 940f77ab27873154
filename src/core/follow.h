// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The station list that follows the car: the search runs by itself at the first position,
// after every stretch driven since the last search, and when the filters change, so that
// nobody taps the screen while driving.

#include <optional>

#include "directory/station_kind.h"
#include "geo/locator.h"

namespace moltrevane {

// The stretches a user can choose, in km; 0 is off.
inline constexpr int kFollowChoices[] = {0, 1, 5, 10, 20};

// Where and with which filters the list was last searched.
struct FollowMark {
    GeoPoint searchedAt;
    StationFilter filter;
};

bool FollowSearchDue(int followKm, std::optional<GeoPoint> own, const std::optional<FollowMark>& last,
                     const StationFilter& filter);

}  // namespace moltrevane
