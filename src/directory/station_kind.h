#pragma once
// What kind of station a directory row is: its band from the output frequency (`aus`), its
// type from `mode`, and the channel a row of the repeater screen shows.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace moltrevane {

enum class Band { Hf, TwoMetres, SeventyCentimetres, TwentyThreeCentimetres, Microwave, Unknown };
enum class StationType { RepeaterFm, RepeaterAtv, Transponder, Digipeater, Beacon, Other };

// MHz from a stored frequency: "145.6125", "145,6125", "145.6125 MHz"; nothing for any other text.
std::optional<double> FrequencyMhz(std::string_view text);

// "KW" below 30 MHz, "2 m" 144 … 148, "70 cm" 420 … 450, "23 cm" 1240 … 1300, "< 23 cm" from
// 2300 on; Unknown without a number or outside every band (6 m, say).
Band BandOf(std::string_view aus);

// By the words of `mode`, case-insensitive: ATV; Bake or Beacon; Digi, APRS or Packet;
// Transponder; FM, DMR, D-STAR, C4FM, YSF, NXDN, P25, TETRA, M17 or Multi; anything else Other.
StationType TypeOf(std::string_view mode);

// Which bands and types take part in a search. A station whose band cannot be told is never
// hidden by a band: nothing is dropped for lack of data.
struct StationFilter {
    std::array<bool, 5> bands{true, true, true, true, true};  // by Band, without Unknown
    std::array<bool, 6> types{true, true, true, true, true, true};
    bool ShowsBand(Band band) const { return band == Band::Unknown || bands[static_cast<std::size_t>(band)]; }
    bool ShowsType(StationType type) const { return types[static_cast<std::size_t>(type)]; }
    bool ShowsAll() const { return ShowsAllBands() && ShowsAllTypes(); }
    bool ShowsAllBands() const;  // then a station's frequency need not be read
    bool ShowsAllTypes() const;  // nor its mode
    bool operator==(const StationFilter&) const = default;
};

}  // namespace moltrevane
