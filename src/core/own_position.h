#pragma once
// Where distances are measured from and to, stored in the state's own and target fields.

#include <optional>
#include <string_view>

#include "geo/distance.h"
#include "geo/locator.h"

namespace moltrevane {

struct AppState;

// The own point: the last GPS position in GPS mode, else the centre of the offline locator;
// stored in ownLatitude/ownLongitude. Nothing, with the fields unchanged, when there is none:
// no fix yet, or an offline locator that is not one (empty, "ERROR").
std::optional<GeoPoint> FixOwnPosition(AppState& state);

// Where the palette looks at the sun: the own point, or in GPS mode before the first fix the
// offline locator, the one place the settings keep, so that a start at night opens in night
// colours.
std::optional<GeoPoint> SkyPosition(const AppState& state);

// The locator handed to other programs: the last fix's in GPS mode, the offline locator when
// it is one; nothing before the first fix or without a valid offline locator.
std::optional<LocatorText> OwnLocator(const AppState& state);

// Distance and bearing texts from the own point to the centre of a locator, which becomes the
// state's target point.
DistanceBearingTexts DescribeOwnToLocator(AppState& state, GeoPoint own, std::string_view locatorText);

}  // namespace moltrevane
