// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A station's record as the screens show it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/way.h"
#include "directory/station.h"

namespace moltrevane {

// "T127.3" (a CTCSS tone), "D023" (a DCS code), "1750" (a tone burst), as a radio names them.
std::string ToneText(const AccessTone& tone);

// "145.7125 −0.600 FM T127.3": the output frequency, the shift (input − output, signed, three
// decimals; left out unless both are known), the mode and the access tone; parts that are
// empty are left out.
std::string ChannelText(const Station& station);

// The record's values each with its name, UTF-8: "Output: 439.1000 MHz", "Input: …", "Shift: …",
// "Tone: T127.3", "Height: 100 m", "Mode: FM", "Place: Dortmund"; "-" for a value not known.
std::vector<std::string> NamedStationLines(const Station& station);

// A repeater row's place line beside or below its channel: "JN57WA - Kirche", values shown cut
// as long directory values are.
std::string RowPlaceText(const Station& station);

// "↑", "↗", "→" …: the way against the car's course as an arrow pointing there, UTF-8.
std::string_view WayArrow(Way way);

// A row's distance and direction from the own point, UTF-8: "12 km" and "45 °", or while the
// car moves the way as an arrow; "≈ 76 km" for a station placed only by its square. Texts
// without meaning are empty, as is the direction to a station at the own point.
struct RowMeasureTexts {
    std::string distance, direction;
};
RowMeasureTexts RowMeasure(const Station& station, GeoPoint own, std::optional<double> headingDeg);

}  // namespace moltrevane
