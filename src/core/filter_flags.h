#pragma once
// The eleven "Show only:" flags: where each lives in the state, in the settings record and on
// the settings screen. Everything about them is derived from this one table.

#include <array>
#include <cstddef>
#include <string_view>

#include "core/app_state.h"

namespace moltrevane {

struct FilterFlag {
    bool AppState::*field;
    std::size_t recordPosition;
    int controlId;
    std::string_view label;
    int x, y, width, height;  // the check box, in dialog units
};

inline constexpr std::array<FilterFlag, 11> kFilterFlags = {{
    {&AppState::showHf, 18, 1025, "KW", 8, 101, 40, 9},
    {&AppState::show2m, 19, 1026, "2 m", 8, 111, 40, 9},
    {&AppState::show70cm, 20, 1027, "70 cm", 8, 121, 40, 9},
    {&AppState::show23cm, 21, 1028, "23 cm", 8, 131, 40, 9},
    {&AppState::showBelow23cm, 22, 1029, "< 23 cm", 8, 141, 40, 9},
    {&AppState::showRepeaterFm, 24, 1030, "Repeater FM / Multi", 60, 81, 75, 9},
    {&AppState::showRepeaterAtv, 25, 1031, "Repeater ATV", 60, 91, 75, 9},
    {&AppState::showTransponder, 26, 1032, "Transponder", 60, 101, 75, 9},
    {&AppState::showDigipeater, 27, 1033, "Digipeater", 60, 111, 75, 9},
    {&AppState::showBeacon, 28, 1034, "Bake", 60, 121, 69, 10},
    {&AppState::showOther, 30, 1038, "other", 60, 141, 70, 9},
}};

}  // namespace moltrevane
