// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/radio_tuning.h"

#include "screens/control_ids.h"

namespace moltrevane {

bool MayTune(const RigSettings& rig, const Station& station) {
    return rig.on && rig.tune != TuneMode::Off && station.outputMhz.has_value();
}

std::string_view TuneButtonText(const RigState& state, const Station& station) {
    if (state.busy && SameStation(*state.busy, station)) return ids::kTuningText;
    if (state.tuned && SameStation(*state.tuned, station)) return ids::kTunedText;
    return ids::kTuneText;
}

}  // namespace moltrevane
