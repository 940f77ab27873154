// SPDX-License-Identifier: GPL-3.0-or-later
// Tuning through rigctld without sockets: the plan of commands for a station, the answers as
// rigctld 4.5 gives them (and as a stranger on its port might), and the conversations of tunes
// with a rig's answers from a script.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "links/rig_link.h"
#include "support/golden.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;

Station Repeater(std::string call, double out, std::optional<double> in, std::string mode, std::optional<AccessTone> tone) {
    Station s;
    s.call = std::move(call);
    s.outputMhz = out;
    s.inputMhz = in;
    s.mode = std::move(mode);
    s.tone = tone;
    return s;
}
const AccessTone kT1273{AccessTone::Kind::Ctcss, 127.3, 0}, kD023{AccessTone::Kind::Dcs, 0, 23},
    kBurst{AccessTone::Kind::Burst, 1750, 0};
const std::pair<Station, bool> kStations[] = {  // a station, and whether the rig's split was on
    {Repeater("DB0ABC", 439.375, 431.775, "FM", kT1273), false}, {Repeater("DB0DCS", 145.6, 145.0, "FM/DMR", kD023), false},
    {Repeater("DB0BRS", 1298.0, 1270.0, "fm", kBurst), true},  // a burst is no CTCSS, 28 MHz still a shift
    {Repeater("DB0XB", 144.65, 432.725, "FM", std::nullopt), false},
    {Repeater("DB0DMR", 439.1, 431.5, "DMR", std::nullopt), false},
    {Repeater("DB0DS", 438.4, 438.4, "D-STAR", std::nullopt), false},
    {Repeater("DB0YS", 145.0, 145.6, "C4FM", std::nullopt), false},
};

std::filesystem::path Golden(const std::string& name) {
    return std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/links/golden" / (name + ".expected");
}

// Each station's plan: the lines that set it, the channel shown and the mode hamlib cannot set.
TEST(RigctldProtocol, EachStationIsSetByTheCommandsItsRecordAsksFor) {
    std::string plans;
    for (const auto& [station, splitOn] : kStations) {
        const std::optional<TunePlan> plan = PlanTune(station, splitOn);
        ASSERT_TRUE(plan) << station.call;
        plans += station.call + (splitOn ? " (split on)\n" : "\n");
        for (const RigValue& v : plan->values) plans += SetLine(v);
        plans += "channel: " + plan->channel + "\nunset mode: " + plan->unsetMode + "\n\n";
    }
    testing::ExpectGolden(Golden("plans"), plans);
    for (const double bad : {0.0, -145.0, 1e300, std::nan("")})
        EXPECT_FALSE(PlanTune(Repeater("BAD", bad, 145.0, "FM", std::nullopt), false)) << bad;
    EXPECT_FALSE(PlanTune(Repeater("NONE", 0, std::nullopt, "FM", std::nullopt), false));
}

TEST(RigctldProtocol, AnswersAreReadUpToTheirReportInAnyPiecesAndAStrangerIsCutOff) {
    const std::string said = "get_freq:\nFrequency: 439375000\nRPRT 0\nget_func: TONE\r\n1\r\nRPRT 0\r\nRPRT -9\n";
    const std::vector<RigAnswer> expected = {
        {"get_freq", {{"Frequency", "439375000"}}, 0}, {"get_func", {{"", "1"}}, 0}, {"", {}, -9}};
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, said.size()}) {  // a drip, pieces, at once
        RigAnswerReader reader;
        for (std::size_t at = 0; at < said.size(); at += piece)
            reader.Receive(std::span(said.data() + at, std::min(piece, said.size() - at)));
        std::vector<RigAnswer> got;
        while (std::optional<RigAnswer> answer = reader.Take()) got.push_back(*answer);
        EXPECT_EQ(got, expected) << piece;
        EXPECT_FALSE(reader.Garbled());
    }
    const std::pair<std::string, bool> hostile[] = {  // bytes, and whether they garble the answers
        {std::string(kRigLongestLine, 'x'), false},        // a line as long as any may be, not ended yet
        {std::string(kRigLongestLine + 1, 'x'), true},     // an endless line
        {std::string(1 << 20, 'j'), true},                 // a megabyte of junk
        {"junk\nmore\n1\n2\n3\n4\n5\n6\n7\n", true},       // an answer that never reports
        {[] { std::string s; for (int i = 0; i < 17; ++i) s += "RPRT -9\n"; return s; }(), true},
    };
    for (const auto& [bytes, garbled] : hostile) {
        RigAnswerReader reader;
        reader.Receive(bytes);
        EXPECT_EQ(reader.Garbled(), garbled) << bytes.substr(0, 20);
    }
}

// Each conversation of tests/links/golden/tunes.expected, played against the link: the file's
// "!" lines are done to it and its "<" lines are the rig's answers, each block to the line told
// in its turn. What the link told (">"), the time it waited for ("@") and each new state
// line ("=") are written anew and compared with the file: a tune is called set only
// when the rig reads back what was set, a refusal puts back what had been set, and nothing
// is retuned while the radio transmits nor in the five seconds after.
TEST(RigLink, EachConversationGoesAsTheScriptOfTheRigHasIt) {
    std::istringstream script(testing::ReadFile(Golden("tunes")));
    std::string made;
    RigLink link;
    SteadyTime now{};
    std::vector<std::string> answers;
    std::size_t next = 0;
    std::string shown;
    const auto note = [&] {
        const RigState state = link.State();
        const std::string text = state.line + (state.busy ? " [busy " + state.busy->call + "]" : "") + (state.tuned ? " (tuned)" : "");
        if (text != shown) made += "= " + (shown = text) + "\n";
    };
    // Until the link waits on nothing; time passes only to what it waits for.
    const auto play = [&](std::string lines) {
        for (int round = 0; round < 200; ++round, note()) {
            if (lines.empty()) {
                if (!link.WakeAt()) return;
                now = *link.WakeAt();
                made += "@ " + std::to_string(now.time_since_epoch() / 1ms) + " ms\n";
                lines = link.Tick(now);
                continue;
            }
            std::string answered;
            for (std::size_t end; (end = lines.find('\n')) != std::string::npos; lines.erase(0, end + 1)) {
                made += "> " + lines.substr(0, end + 1);
                const std::string answer = next < answers.size() ? answers[next++] : "";
                for (std::size_t at = 0; at < answer.size(); at = answer.find('\n', at) + 1)
                    made += "< " + answer.substr(at, answer.find('\n', at) + 1 - at);
                answered += answer;
            }
            lines = link.Receive(answered, now);
        }
        ADD_FAILURE() << "the conversation did not end";
    };
    std::vector<std::string> steps;
    for (std::string line; std::getline(script, line);) {
        if (line.starts_with("> ")) answers.emplace_back();
        if (line.starts_with("< ") && !answers.empty()) answers.back() += line.substr(2) + "\n";
        if (line.starts_with("# ") || line.starts_with("! ")) steps.push_back(line);
    }
    for (const std::string& step : steps) {
        made += (step.starts_with("# ") && !made.empty() ? "\n" : "") + step + "\n";
        const std::string call = step.substr(step.find(' ', 2) + 1);
        const auto station = std::find_if(std::begin(kStations), std::end(kStations), [&](const auto& s) { return s.first.call == call; });
        if (step.starts_with("# ")) {
            link = RigLink();
            now = SteadyTime{};
            shown.clear();
        } else if (step == "! connected") {
            play(link.Connected(now));
        } else if (step == "! disconnected") {
            link.Disconnected();
        } else if (station != std::end(kStations)) {
            play(link.Tune(station->first, step.starts_with("! tap ") ? TuneCause::Tap : TuneCause::Follow, now));
        } else {
            ADD_FAILURE() << step;
        }
        note();
    }
    EXPECT_EQ(next, answers.size()) << "answers left over";
    testing::ExpectGolden(Golden("tunes"), made);
}

}  // namespace
}  // namespace moltrevane
