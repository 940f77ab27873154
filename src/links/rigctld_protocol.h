// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// hamlib's rigctld as version 4.5 answers. Every command goes in the extended form
// ("+\set_freq 439375000"), whose answer echoes the command's name, gives "Key: value" lines and
// ends with "RPRT n"; the echo tells a late answer from the one awaited. Nothing here ever keys
// a transmitter: there is no line for it. No sockets: the link hands in bytes and sends lines.

#include <cstddef>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "directory/station.h"

namespace moltrevane {

// rigctld's codes for a feature the rig or its backend does not have.
inline constexpr int kRigNotAvailable = -11, kRigNotImplemented = -4;
// rigctld's lines are short and its answers few; more is no rigctld, and is not kept.
inline constexpr std::size_t kRigLongestLine = 256;
inline constexpr std::size_t kRigMostAnswerLines = 8;
inline constexpr std::size_t kRigMostAnswersWaiting = 16;

// One of the radio's settings as rigctld names it: how it is set, asked and answered.
struct RigSetting {
    std::string_view set, get, argument, key, noun;  // argument: a function's name ("TONE")
};

// One value for one setting; `expected` is what its question must answer ("" is not asked).
struct RigValue {
    const RigSetting* setting;
    std::string value, expected;
    long long slack = 0;  // how far a number read back may lie from the expected one
    bool operator==(const RigValue&) const = default;
};

// What a station is tuned with: the values in the order they are sent (a split first: a rig
// that refuses it has nothing else changed), and what the state line names.
struct TunePlan {
    std::vector<RigValue> values;
    std::string channel;  // "439.3750 −7.600 T127.3"
    std::string unsetMode;  // a mode hamlib cannot set ("DMR"): the frequency only
};

// Nothing for a station without an output frequency. A split that is left from a cross-band
// repeater before is taken off only when `splitOn`: a rig without split is never asked.
std::optional<TunePlan> PlanTune(const Station& station, bool splitOn);

// "+\set_freq 439375000\n", "+\get_freq\n", "+\get_func TONE\n".
std::string SetLine(const RigValue& value);
std::string GetLine(const RigSetting& setting);
// What every setting a plan changes reads now: their questions, so that what failed half-way
// is put back as it was.
std::vector<const RigSetting*> SettingsOf(const TunePlan& plan);
// "+\get_ptt\n": asked before every tune.
std::string PttQuestion();

struct RigAnswer {
    std::string command;  // the echoed name, "get_freq"; empty for a bare "RPRT n"
    std::vector<std::pair<std::string, std::string>> values;  // "Frequency", "439375000"; a bare value has no key
    int code = 0;
    bool operator==(const RigAnswer&) const = default;
};

// The command name of a line sent: "get_freq" of "+\get_freq\n".
std::string_view CommandOf(std::string_view line);
// The value set again from an answer to a setting's question: "FM 15000" of get_mode's.
std::optional<RigValue> ValueOfAnswer(const RigSetting& setting, const RigAnswer& answer);
// Whether an answer to the question of `value`'s setting reads what was set.
bool ReadsBack(const RigValue& value, const RigAnswer& answer);
// PTT on (true), off (false), or nothing when the rig cannot tell.
std::optional<bool> PttOf(const RigAnswer& answer);

// Assembles answers from bytes in any pieces. A line over kRigLongestLine, an answer of more
// lines than kRigMostAnswerLines or more answers than are ever awaited garble the stream: the
// connection is no rigctld's, and nothing more is kept.
class RigAnswerReader {
public:
    void Receive(std::span<const char> bytes);
    std::optional<RigAnswer> Take();
    bool Garbled() const { return garbled_; }
    void Clear() { *this = RigAnswerReader{}; }

private:
    void TakeLine(std::string_view line);

    std::string line_;
    RigAnswer answer_;
    bool answerBegun_ = false;
    std::size_t answerLines_ = 0;
    std::deque<RigAnswer> done_;
    bool garbled_ = false;
};

// The state line's texts.
std::string TunedText(const TunePlan& plan);  // "Radio: 439.3750 −7.600 T127.3 set"
std::string RefusedText(const RigSetting& setting, std::optional<int> code);  // "Radio: the rig took no tone (RPRT -11)"
std::string NotKeptText(const RigSetting& setting);  // "Radio: the rig did not keep the shift"
std::string UnreadText(const TunePlan& plan, const RigSetting& setting);

}  // namespace moltrevane
