// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/follow.h"

#include "geo/distance.h"

namespace moltrevane {

bool FollowSearchDue(int followKm, std::optional<GeoPoint> own, const std::optional<FollowMark>& last,
                     const StationFilter& filter) {
    if (followKm <= 0 || !own) return false;
    if (!last || !(last->filter == filter)) return true;
    return DistanceKm(last->searchedAt.latitude, last->searchedAt.longitude, own->latitude, own->longitude) >= followKm;
}

}  // namespace moltrevane
