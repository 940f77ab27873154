// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One station of the directory as a record: what a row shows, what an announcement says and
// what a radio is set to. It travels as values; the screens make texts of it where they show it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geo/locator.h"

namespace moltrevane {

// call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2, lat, lon: a row's columns in the
// directory's order, as stored (NULL as ""). lat and lon, the site in decimal degrees, are
// empty where the list gave only a locator, and in a directory made before they were kept.
using StoredRow = std::array<std::string, 12>;
inline constexpr std::size_t kLatitudeColumn = 10, kLongitudeColumn = 11;

// How rem2 begins for a station the list placed only by its 4-character locator: it is put
// at the square's centre, which can be 90 km from the site.
inline constexpr std::string_view kPlacedBySquareRemark = "placed at its square's centre";

// The site of a row: its lat and lon when both are degrees on the globe, otherwise the centre
// of its locator (its first six characters); nothing when neither holds a place.
std::optional<GeoPoint> SiteOf(std::string_view loc, std::string_view lat, std::string_view lon);

// How a repeater is opened: a CTCSS tone, a DCS code or a 1750 Hz tone burst.
struct AccessTone {
    enum class Kind { Ctcss, Dcs, Burst };
    Kind kind = Kind::Ctcss;
    double hz = 0;  // a CTCSS tone, 67.0 … 254.1
    int code = 0;   // a DCS code as written, its three octal digits read as decimal: D023 is 23
    bool operator==(const AccessTone&) const = default;
};

// "127.3" (a CTCSS tone), "D023" (a DCS code), "1750" (a tone burst): the one form the directory
// keeps; nothing for any other text, so that a remark is never taken for a tone.
std::optional<AccessTone> AccessToneOf(std::string_view stored);
std::string StoredTone(const AccessTone& tone);

struct Station {
    std::string call, locator, place, mode, height, channelName;  // as stored: call, loc, qth, mode, asl, kanal
    std::optional<double> outputMhz, inputMhz;  // the station's transmit and receive frequencies (aus, ein)
    std::optional<AccessTone> tone;             // from rem1, where the import puts it
    std::optional<GeoPoint> point;              // where distances are measured to: its site (SiteOf)
    bool fromSquare = false;                    // placed at the centre of a 4-character locator's square
};

Station StationOf(const StoredRow& row);

// Its input lies on another band than its output (a 2 m input to a 70 cm output): a shift then
// means nothing, and the input is shown. No repeater's shift within one band reaches 5 % of
// its output (23 cm's 28 MHz is 2.2 %).
bool IsCrossBand(const Station& station);

}  // namespace moltrevane
