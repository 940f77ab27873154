// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio set to a station through hamlib's rigctld: what the user chose, what the window
// asks for and what it learns back. The socket lives on a worker behind RadioLink.

#include <optional>
#include <string>
#include <string_view>

#include "directory/station.h"

namespace moltrevane {

inline constexpr std::string_view kDefaultRigAddress = "127.0.0.1:4532";

// When the radio is tuned: never, on a tap, or also to each new nearest station while follow
// searches the list.
enum class TuneMode { Off, Tap, Follow };

struct RigSettings {
    bool on = false;
    std::string address{kDefaultRigAddress};
    TuneMode tune = TuneMode::Tap;
    bool operator==(const RigSettings&) const = default;
};

enum class TuneCause { Tap, Follow };

struct RigState {
    std::string line;               // "Radio: …"
    std::optional<Station> tuned;   // the station the radio was last set to, as read back
    std::optional<Station> busy;    // being tuned, or waiting for the transmission to end
    bool pttUnknown = false;        // the rig cannot tell its PTT: follow tunes nothing
};

// The same directory row: a call may name several stations, each of its own frequencies.
inline bool SameStation(const Station& a, const Station& b) {
    return a.call == b.call && a.locator == b.locator && a.outputMhz == b.outputMhz && a.inputMhz == b.inputMhz;
}

class RadioLink {
public:
    virtual ~RadioLink() = default;
    // From the window's thread; neither ever waits for the network.
    virtual void Publish(const RigSettings& settings) = 0;
    virtual void Tune(const Station& station, TuneCause cause) = 0;
    virtual RigState State() const = 0;
};

}  // namespace moltrevane
