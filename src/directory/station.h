#pragma once
// One station of the directory as a record: what a row shows, what an announcement says and
// what a radio is set to. It travels as values; the screens make texts of it where they show it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geo/locator.h"

namespace moltrevane {

// call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2: a row's columns in the directory's
// order, as stored (NULL as "").
using StoredRow = std::array<std::string, 10>;

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
    std::optional<GeoPoint> point;              // where distances are measured to: its locator's centre
    bool fromSquare = false;                    // placed at the centre of a 4-character locator's square
    bool operator==(const Station&) const = default;
};

Station StationOf(const StoredRow& row);

}  // namespace moltrevane
