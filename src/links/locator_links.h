// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing the own locator to WSJT-X and JS8Call: what the user chose, and what the window
// learns back. The sockets live on a worker behind LocatorLinks.

#include <optional>
#include <string>

#include "geo/locator.h"

namespace moltrevane {

inline constexpr std::string_view kDefaultWsjtxAddress = "127.0.0.1:2237";
inline constexpr std::string_view kDefaultJs8callAddress = "127.0.0.1:2442";

struct LinkSettings {
    bool wsjtx = false;
    std::string wsjtxAddress{kDefaultWsjtxAddress};  // where WSJT-X sends: we listen there
    bool js8call = false;
    std::string js8callAddress{kDefaultJs8callAddress};  // JS8Call's TCP API
    bool operator==(const LinkSettings&) const = default;
};

// One line per program, e.g. "WSJT-X: JO62QM confirmed".
struct LinkStates {
    std::string wsjtx, js8call;
    bool operator==(const LinkStates&) const = default;
};

class LocatorLinks {
public:
    virtual ~LocatorLinks() = default;
    // Called every second from the window's thread; never waits for the network. Nothing is
    // sent without a locator.
    virtual void Publish(const LinkSettings& settings, const std::optional<LocatorText>& locator) = 0;
    virtual LinkStates States() const = 0;
};

}  // namespace moltrevane
