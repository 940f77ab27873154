// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eleven "Show only:" flags: where each lives in the state, in the settings record and on
// the settings screen, and the voice modes beside them. Everything about them is derived from
// these tables.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/app_state.h"
#include "directory/station_kind.h"

namespace moltrevane {

struct FilterFlag {
    bool AppState::*field;
    std::size_t recordPosition;
    int controlId;
    std::string_view label;
    int x, y, width, height;  // the check box, in dialog units
    std::optional<Band> band;  // what it shows: a band, or else
    StationType type;          // a type of station
};

inline constexpr std::array<FilterFlag, 11> kFilterFlags = {{
    {&AppState::showHf, 18, 1025, "KW", 8, 85, 40, 9, Band::Hf, {}},
    {&AppState::show2m, 19, 1026, "2 m", 8, 95, 40, 9, Band::TwoMetres, {}},
    {&AppState::show70cm, 20, 1027, "70 cm", 8, 105, 40, 9, Band::SeventyCentimetres, {}},
    {&AppState::show23cm, 21, 1028, "23 cm", 8, 115, 40, 9, Band::TwentyThreeCentimetres, {}},
    {&AppState::showBelow23cm, 22, 1029, "< 23 cm", 8, 125, 40, 9, Band::Microwave, {}},
    {&AppState::showRepeaterFm, 24, 1030, "Repeater FM / Multi", 60, 65, 75, 9, {}, StationType::RepeaterFm},
    {&AppState::showRepeaterAtv, 25, 1031, "Repeater ATV", 60, 75, 75, 9, {}, StationType::RepeaterAtv},
    {&AppState::showTransponder, 26, 1032, "Transponder", 60, 85, 75, 9, {}, StationType::Transponder},
    {&AppState::showDigipeater, 27, 1033, "Digipeater", 60, 95, 75, 9, {}, StationType::Digipeater},
    {&AppState::showBeacon, 28, 1034, "Bake", 60, 105, 69, 10, {}, StationType::Beacon},
    {&AppState::showOther, 30, 1038, "other", 60, 125, 32, 9, {}, StationType::Other},
}};

// A voice-mode flag: its mode (named by kVoiceModeNames), its check box and where it stands, in
// dialog units, in two rows under the flags.
struct ModeFlag {
    VoiceMode mode;
    int controlId;
    int x, y, width, height;
};
inline constexpr std::array<ModeFlag, kVoiceModes> kModeFlags = {{
    {VoiceMode::Fm, 1160, 8, 136, 22, 9},
    {VoiceMode::Dmr, 1161, 32, 136, 26, 9},
    {VoiceMode::DStar, 1162, 60, 136, 32, 9},
    {VoiceMode::C4fm, 1163, 8, 145, 34, 9},
    {VoiceMode::OtherDigital, 1164, 44, 145, 48, 9},
}};

// The search's filter as the flags set it.
inline StationFilter FilterOf(const AppState& state) {
    StationFilter filter;
    for (const FilterFlag& flag : kFilterFlags) {
        if (flag.band)
            filter.bands[static_cast<std::size_t>(*flag.band)] = state.*flag.field;
        else
            filter.types[static_cast<std::size_t>(flag.type)] = state.*flag.field;
    }
    filter.modes = state.shownModes;
    return filter;
}

}  // namespace moltrevane
