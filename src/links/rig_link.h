// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One rigctld connection's conversation: before every tune the PTT is asked, and while the
// radio transmits (and 5 s after) nothing is retuned; what a tune changes is read first, so
// that a refusal half-way puts it back; what was set is read back and called set only when it
// matches. No sockets: the worker hands in bytes and time, and sends what comes back.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "links/radio_link.h"
#include "links/rigctld_protocol.h"

namespace moltrevane {

using SteadyTime = std::chrono::steady_clock::time_point;

// A command without its answer by then counts as one the rig does not have.
inline constexpr std::chrono::milliseconds kRigAnswerTime{1500};
inline constexpr std::chrono::seconds kRigRetry{5};
inline constexpr std::chrono::seconds kAfterPtt{5};
inline constexpr std::chrono::seconds kPttAskAgain{1};

class RigLink {
public:
    // Whether the worker should try to connect now; true marks the attempt.
    bool WantsConnection(SteadyTime now);
    // Each returns the lines to send now. A follow wish made while rigctld is away (the first
    // nearest, when the program starts before rigctld) is carried out once it is connected.
    std::string Connected(SteadyTime now);
    void Disconnected(std::string line = "Radio: rigctld not running");
    std::string Tune(const Station& station, TuneCause cause, SteadyTime now);
    std::string Receive(std::span<const char> bytes, SteadyTime now);
    std::string Tick(SteadyTime now);
    // When Tick is next due; nothing while no answer or wait is pending.
    std::optional<SteadyTime> WakeAt() const;
    // The other side says what no rigctld says: the connection is to be dropped.
    bool Garbled() const { return reader_.Garbled(); }
    RigState State() const;

private:
    enum class Phase { Idle, AskPtt, PttWait, ReadBefore, Set, Check, PutBack };
    struct Job {
        Station station;
        TuneCause cause;
    };

    std::string Start(SteadyTime now);
    std::string Ask(std::string line, SteadyTime now);
    std::string Answered(const std::optional<RigAnswer>& answer, SteadyTime now);
    std::string Begin(SteadyTime now);
    std::string AfterPtt(const std::optional<RigAnswer>& answer, SteadyTime now);
    std::string NextOfPhase(SteadyTime now);
    std::string Finish(std::string line, SteadyTime now);

    bool connected_ = false;
    std::optional<SteadyTime> lastAttempt_;
    std::string line_ = "Radio: rigctld not running";
    std::optional<Station> tuned_;
    bool pttUnknown_ = false;
    bool splitOn_ = false;  // a cross-band repeater's split was set
    std::optional<SteadyTime> lastPttOn_;

    std::optional<Job> job_, waiting_;
    std::optional<TunePlan> plan_;
    Phase phase_ = Phase::Idle;
    std::size_t step_ = 0;                 // within the phase
    std::vector<RigValue> before_;         // what the plan's settings read before
    std::vector<RigValue> putBack_;        // of the settings sent when one was refused
    const RigSetting* unread_ = nullptr;   // the first setting the rig could not read back
    const RigSetting* notKept_ = nullptr;  // the first it read back otherwise
    std::string awaited_;                  // the line whose answer is awaited
    std::optional<SteadyTime> deadline_;   // of that answer, or of a PTT wait
    RigAnswerReader reader_;
};

}  // namespace moltrevane
