#include "core/own_position.h"

#include "core/app_state.h"

namespace moltrevane {

namespace {

std::optional<GeoPoint> OfflinePosition(const AppState& state) {
    if (!IsValidLocator(LocatorView(state.offlineLocator))) return std::nullopt;
    return PositionFromLocator(LocatorView(state.offlineLocator));
}

std::optional<GeoPoint> GpsPosition(const AppState& state) {
    if (!state.hasGpsFix) return std::nullopt;
    return GeoPoint{state.gpsLatitude, state.gpsLongitude};
}

}  // namespace

std::optional<GeoPoint> FixOwnPosition(AppState& state) {
    const std::optional<GeoPoint> own = state.portActive ? GpsPosition(state) : OfflinePosition(state);
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

std::optional<GeoPoint> SkyPosition(const AppState& state) {
    const std::optional<GeoPoint> gps = state.portActive ? GpsPosition(state) : std::nullopt;
    return gps ? gps : OfflinePosition(state);
}

std::optional<LocatorText> OwnLocator(const AppState& state) {
    const LocatorText& locator = state.portActive ? state.currentLocator : state.offlineLocator;
    if (state.portActive && !state.hasGpsFix) return std::nullopt;
    return IsValidLocator(LocatorView(locator)) ? std::optional(locator) : std::nullopt;
}

}  // namespace moltrevane
