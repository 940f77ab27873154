// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tap that tunes the radio to a station: when a Tune button may be tapped, and what it shows.

#include <string_view>

#include "links/radio_link.h"

namespace moltrevane {

// The radio link is on, tuning is not off, and the station has a frequency to set.
bool MayTune(const RigSettings& rig, const Station& station);

// "•" on the station the radio is set to, "…" on one it is being set to, else "T"; 8-bit.
std::string_view TuneButtonText(const RigState& state, const Station& station);

}  // namespace moltrevane
