// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JS8Call's TCP API: one JSON object a line. We send STATION.SET_GRID and read its answer,
// STATION.GRID; everything else JS8Call says (pings, activity) is passed over. No sockets:
// the worker hands in what arrives and sends what comes back.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "geo/locator.h"

namespace moltrevane {

using SteadyTime = std::chrono::steady_clock::time_point;

// JS8Call's lines are short: a peer that sends more without a line end is no JS8Call (or one
// gone wrong), and its stream would cost a core for as long as it lasts. It is dropped, and
// tried again later as an absent one.
inline constexpr std::size_t kJs8callLongestLine = 8 * 1024;
// Not more often than this is an absent JS8Call tried again.
inline constexpr std::chrono::seconds kJs8callRetry{5};
inline constexpr std::chrono::seconds kJs8callConfirmTime{30};

// {"type":"STATION.SET_GRID","value":"JO62QM","params":{}} and a line end.
std::string SetGridLine(std::string_view locator);
// The grid of a STATION.GRID line; nothing for any other line, JSON or not.
std::optional<std::string> GridOfAnswer(std::string_view line);

class Js8callLink {
public:
    // Whether the worker should try to connect now; true marks the attempt.
    bool WantsConnection(SteadyTime now);
    // A connection is made: the line to send (empty without a locator).
    std::string Connected(SteadyTime now);
    void Disconnected();
    // Bytes from JS8Call, in any pieces; false when they run past the longest line: the
    // connection is to be dropped, and is tried again kJs8callRetry after `now`.
    bool Receive(std::span<const char> bytes, SteadyTime now);
    // A changed locator: the line to send while connected, else empty.
    std::string SetLocator(const std::optional<LocatorText>& locator, SteadyTime now);
    // "JS8Call: …"
    std::string StateLine(SteadyTime now) const;

private:
    void TakeLine(std::string_view line);

    bool connected_ = false;
    std::optional<SteadyTime> lastAttempt_;
    std::optional<LocatorText> locator_;
    SteadyTime sentAt_{};
    std::optional<std::string> answeredGrid_;  // since the last send
    std::string line_;
};

}  // namespace moltrevane
