#include "core/own_position.h"

#include "core/app_state.h"

namespace moltrevane {

std::optional<GeoPoint> FixOwnPosition(AppState& state) {
    std::optional<GeoPoint> own;
    if (state.portActive && state.hasGpsFix) own = GeoPoint{state.gpsLatitude, state.gpsLongitude};
    if (!state.portActive && IsValidLocator(LocatorView(state.offlineLocator)))
        own = PositionFromLocator(LocatorView(state.offlineLocator));
    if (own) {
        state.ownLatitude = own->latitude;
        state.ownLongitude = own->longitude;
    }
    return own;
}

DistanceBearingTexts DescribeOwnToLocator(AppState& state, GeoPoint own, std::string_view locatorText) {
    const GeoPoint target = PositionFromLocator(locatorText);
    state.targetLatitude = target.latitude;
    state.targetLongitude = target.longitude;
    return DescribeDistanceAndBearing(own, target);
}

std::optional<LocatorText> OwnLocator(const AppState& state) {
    const LocatorText& locator = state.portActive ? state.currentLocator : state.offlineLocator;
    if (state.portActive && !state.hasGpsFix) return std::nullopt;
    return IsValidLocator(LocatorView(locator)) ? std::optional(locator) : std::nullopt;
}

}  // namespace moltrevane
