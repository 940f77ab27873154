#pragma once
// The eleven "Show only:" flags: where each lives in the state, in the settings record and on
// the settings screen. Everything about them is derived from this one table.

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
    {&AppState::showHf, 18, 1025, "KW", 8, 101, 40, 9, Band::Hf, {}},
    {&AppState::show2m, 19, 1026, "2 m", 8, 111, 40, 9, Band::TwoMetres, {}},
    {&AppState::show70cm, 20, 1027, "70 cm", 8, 121, 40, 9, Band::SeventyCentimetres, {}},
    {&AppState::show23cm, 21, 1028, "23 cm", 8, 131, 40, 9, Band::TwentyThreeCentimetres, {}},
    {&AppState::showBelow23cm, 22, 1029, "< 23 cm", 8, 141, 40, 9, Band::Microwave, {}},
    {&AppState::showRepeaterFm, 24, 1030, "Repeater FM / Multi", 60, 81, 75, 9, {}, StationType::RepeaterFm},
    {&AppState::showRepeaterAtv, 25, 1031, "Repeater ATV", 60, 91, 75, 9, {}, StationType::RepeaterAtv},
    {&AppState::showTransponder, 26, 1032, "Transponder", 60, 101, 75, 9, {}, StationType::Transponder},
    {&AppState::showDigipeater, 27, 1033, "Digipeater", 60, 111, 75, 9, {}, StationType::Digipeater},
    {&AppState::showBeacon, 28, 1034, "Bake", 60, 121, 69, 10, {}, StationType::Beacon},
    {&AppState::showOther, 30, 1038, "other", 60, 141, 70, 9, {}, StationType::Other},
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
    return filter;
}

}  // namespace moltrevane
