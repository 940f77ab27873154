// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The WSJT-X instances that send to us, and the locator each has been given. No sockets:
// the worker hands in what arrives and sends what comes back.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "links/endpoint.h"
#include "geo/locator.h"

namespace moltrevane {

using SteadyTime = std::chrono::steady_clock::time_point;

// WSJT-X sends a Heartbeat every 15 s: one not heard for four of them has gone.
inline constexpr std::chrono::seconds kWsjtxGone{60};
// How long a Status with the new locator may take before WSJT-X counts as not accepting it.
inline constexpr std::chrono::seconds kWsjtxConfirmTime{30};
// More instances than anyone runs on one computer; a flood of invented ones pushes out the
// longest silent, never grows the table.
inline constexpr std::size_t kWsjtxMostInstances = 8;

struct Datagram {
    Endpoint to;
    std::vector<unsigned char> bytes;
};

class WsjtxPeers {
public:
    // A datagram from `from`: learns or updates the instance, and answers a new one (or one
    // restarted on another port) with the locator.
    std::vector<Datagram> Receive(std::span<const unsigned char> bytes, const Endpoint& from, SteadyTime now);
    // A changed locator goes to every instance; nothing at all without one.
    std::vector<Datagram> SetLocator(const std::optional<LocatorText>& locator, SteadyTime now);
    // "WSJT-X: …", the least happy instance's state.
    std::string StateLine(SteadyTime now) const;

private:
    struct Instance {
        std::string id;
        Endpoint source;
        std::uint32_t maxSchema = 2;
        SteadyTime lastHeard, sentAt;  // sentAt: when it was last given the locator
        std::string deGrid;  // of its last Status
    };

    Instance& Learn(const std::string& id, const Endpoint& from, SteadyTime now, bool& isNew);
    std::optional<Datagram> LocationFor(Instance& instance, SteadyTime now);
    void ForgetSilent(SteadyTime now);

    std::vector<Instance> instances_;
    std::optional<LocatorText> locator_;
};

}  // namespace moltrevane
