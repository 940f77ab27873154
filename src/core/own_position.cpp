// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/own_position.h"

#include "core/app_state.h"

namespace moltrevane {

namespace {

std::optional<GeoPoint> OfflinePosition(const AppState& state) {
    if (!IsValidLocator(LocatorView(state.offlineLocator))) return std::nullopt;
    return PositionFromLocator(LocatorView(state.offlineLocator));
}

}  // namespace

std::optional<GeoPoint> OwnPosition(const AppState& state) {
    return state.portActive ? state.gpsFix : OfflinePosition(state);
}

std::optional<GeoPoint> SkyPosition(const AppState& state) {
    const std::optional<GeoPoint> gps = state.portActive ? state.gpsFix : std::nullopt;
    return gps ? gps : OfflinePosition(state);
}

bool PositionStale(const AppState& state) { return state.portActive && state.gpsFix && !state.fixLive; }

std::optional<double> HeadingDeg(const AppState& state) {
    const GroundMotion& motion = state.motion;
    if (!state.portActive || !state.fixLive || !motion.speedKmh || *motion.speedKmh < kMovingKmh) return std::nullopt;
    return motion.courseDeg;
}

std::optional<LocatorText> OwnLocator(const AppState& state) {
    const LocatorText& locator = state.portActive ? state.currentLocator : state.offlineLocator;
    if (state.portActive && !state.gpsFix) return std::nullopt;
    return IsValidLocator(LocatorView(locator)) ? std::optional(locator) : std::nullopt;
}

}  // namespace moltrevane
