// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What kind of station a directory row is: its band from the output frequency (`aus`), its
// type from `mode`, and the channel a row of the repeater screen shows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace moltrevane {

enum class Band { Hf, TwoMetres, SeventyCentimetres, TwentyThreeCentimetres, Microwave, Unknown };
enum class StationType { RepeaterFm, RepeaterAtv, Transponder, Digipeater, Beacon, Other };
// The modes a radio speaks, kept apart: a driver with an FM radio is not sent to DMR.
enum class VoiceMode { Fm, Dmr, DStar, C4fm, OtherDigital };
inline constexpr std::size_t kVoiceModes = 5;
// A set of modes, one bit each by VoiceMode.
using VoiceModes = std::uint8_t;
inline constexpr VoiceModes kAllVoiceModes = (1u << kVoiceModes) - 1;
constexpr VoiceModes ModeBit(VoiceMode mode) { return static_cast<VoiceModes>(1u << static_cast<unsigned>(mode)); }
// "FM", "DMR", "D-STAR", "C4FM", "other digital": as Moltrevane.ini and the settings screen say.
inline constexpr std::array<std::string_view, kVoiceModes> kVoiceModeNames = {"FM", "DMR", "D-STAR", "C4FM", "other digital"};

// MHz from a stored frequency: "145.6125", "145,6125", "145.6125 MHz"; nothing for any other text.
std::optional<double> FrequencyMhz(std::string_view text);

// "KW" below 30 MHz, "2 m" 144 … 148, "70 cm" 420 … 450, "23 cm" 1240 … 1300, "< 23 cm" from
// 2300 on; Unknown without a number or outside every band (6 m, say).
Band BandOf(std::string_view aus);

// By the words of `mode`, case-insensitive: ATV; Bake or Beacon; Digi, APRS or Packet;
// Transponder; FM, DMR, D-STAR, C4FM, YSF, NXDN, P25, TETRA, M17 or Multi; anything else Other.
StationType TypeOf(std::string_view mode);

// The voice modes `mode` names, by its words, case-insensitive: FM; DMR; D-STAR or DSTAR; C4FM
// or YSF; NXDN, P25, TETRA or M17 as other digital. None for a mode without such a word
// (a beacon, ATV, "Multi").
VoiceModes ModesOf(std::string_view mode);

// Which bands, types and voice modes take part in a search. A station whose band cannot be told
// is never hidden by a band, nor one without a voice mode by the modes: nothing is dropped for
// lack of data. A station of several modes (FM/DMR) is shown when any of them is.
struct StationFilter {
    std::array<bool, 5> bands{true, true, true, true, true};  // by Band, without Unknown
    std::array<bool, 6> types{true, true, true, true, true, true};
    VoiceModes modes = kAllVoiceModes;
    bool ShowsBand(Band band) const { return band == Band::Unknown || bands[static_cast<std::size_t>(band)]; }
    bool ShowsType(StationType type) const { return types[static_cast<std::size_t>(type)]; }
    bool ShowsModes(VoiceModes spoken) const { return spoken == 0 || (spoken & modes) != 0; }
    bool ShowsAll() const { return ShowsAllBands() && ShowsAllTypes(); }
    bool ShowsAllBands() const;  // then a station's frequency need not be read
    bool ShowsAllTypes() const;  // nor its mode (every type and every voice mode)
    bool operator==(const StationFilter&) const = default;
};

}  // namespace moltrevane
