// SPDX-License-Identifier: GPL-3.0-or-later
// Tuning through rigctld without sockets: the plan of commands for a station, the answers as
// rigctld 4.5 gives them (and as a stranger on its port might), and the conversation of a tune
// against a rig simulated in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

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
const Station kDb0abc = Repeater("DB0ABC", 439.375, 431.775, "FM", kT1273);

std::string Lines(const TunePlan& plan) {
    std::string lines;
    for (const RigValue& v : plan.values) lines += SetLine(v);
    return lines;
}

// `text` compared with tests/links/golden/NAME.expected.
void ExpectGolden(const std::string& name, const std::string& text) {
    testing::ExpectGolden(std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/links/golden" / (name + ".expected"), text);
}

// Each station's plan: the lines that set it, the channel shown and the mode hamlib cannot set.
TEST(RigctldProtocol, EachStationIsSetByTheCommandsItsRecordAsksFor) {
    const std::pair<Station, bool> stations[] = {  // a station, and whether the rig's split was on
        {kDb0abc, false}, {Repeater("DB0DCS", 145.6, 145.0, "FM/DMR", kD023), false},
        {Repeater("DB0BRS", 1298.0, 1270.0, "fm", kBurst), true},  // a burst is no CTCSS, 28 MHz still a shift
        {Repeater("DB0XB", 144.65, 432.725, "FM", std::nullopt), false},
        {Repeater("DB0DMR", 439.1, 431.5, "DMR", std::nullopt), false},
        {Repeater("DB0DS", 438.4, 438.4, "D-STAR", std::nullopt), false},
        {Repeater("DB0YS", 145.0, 145.6, "C4FM", std::nullopt), false},
    };
    std::string plans;
    for (const auto& [station, splitOn] : stations) {
        const std::optional<TunePlan> plan = PlanTune(station, splitOn);
        ASSERT_TRUE(plan) << station.call;
        plans += station.call + (splitOn ? " (split on)\n" : "\n") + Lines(*plan) + "channel: " + plan->channel +
                 "\nunset mode: " + plan->unsetMode + "\n\n";
    }
    ExpectGolden("plans", plans);
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
    struct Hostile {
        std::string bytes;
        bool garbled;
    };
    const Hostile hostile[] = {
        {std::string(kRigLongestLine, 'x'), false},        // a line as long as any may be, not ended yet
        {std::string(kRigLongestLine + 1, 'x'), true},     // an endless line
        {std::string(1 << 20, 'j'), true},                 // a megabyte of junk
        {"junk\nmore\n1\n2\n3\n4\n5\n6\n7\n", true},       // an answer that never reports
        {[] { std::string s; for (int i = 0; i < 17; ++i) s += "RPRT -9\n"; return s; }(), true},
    };
    for (const Hostile& h : hostile) {
        RigAnswerReader reader;
        reader.Receive(h.bytes);
        EXPECT_EQ(reader.Garbled(), h.garbled) << h.bytes.substr(0, 20);
    }
}

// A rig behind rigctld, in memory: it keeps what it is set to, refuses or ignores what it is
// told to, and reports PTT as told.
struct SimulatedRig {
    std::map<std::string, std::string> kept{{"get_freq", "145000000"}, {"get_rptr_shift", "None"}, {"get_mode", "FM 15000"}};
    std::map<std::string, int> refused;   // command → its RPRT code
    std::vector<std::string> silent;      // commands answered with nothing
    std::optional<std::string> ptt = "0"; // nothing: -11
    std::map<std::string, std::string> readsOtherwise;  // a get → what the rig reads instead
    std::string transcript;  // "> " what it was told, "< " what it answered

    static std::string KeyOf(const std::string& get) {
        static const std::map<std::string, std::string> keys = {
            {"get_freq", "Frequency"}, {"get_mode", "Mode"}, {"get_rptr_shift", "Rptr Shift"},
            {"get_rptr_offs", "Rptr Offset"}, {"get_ctcss_tone", "CTCSS Tone"}, {"get_dcs_code", "DCS Code"},
            {"get_split_vfo", "Split"}, {"get_split_freq", "TX Frequency"}, {"get_func", ""}};
        return keys.at(get);
    }
    std::string Answer(const std::string& line) {
        const std::string answer = Answered(line);
        transcript += "> " + line;
        for (std::size_t at = 0; at < answer.size(); at = answer.find('\n', at) + 1)
            transcript += "< " + answer.substr(at, answer.find('\n', at) + 1 - at);
        return answer;
    }
    std::string Answered(const std::string& line) {
        const std::string command(CommandOf(line));
        if (std::find(silent.begin(), silent.end(), command) != silent.end()) return {};
        if (refused.contains(command)) return command + ":\nRPRT " + std::to_string(refused[command]) + "\n";
        if (command == "get_ptt") return ptt ? "get_ptt:\nPTT: " + *ptt + "\nRPRT 0\n" : "get_ptt:\nRPRT -11\n";
        std::string args = line.substr(2 + command.size(), line.size() - 3 - command.size());
        if (!args.empty()) args.erase(0, 1);
        if (command.starts_with("set_")) {
            kept["get_" + command.substr(4)] = args;
            return command + ": " + args + "\nRPRT 0\n";
        }
        std::string value = readsOtherwise.contains(command) ? readsOtherwise[command] : kept[command];
        if (command == "get_func") value = value.substr(value.find(' ') + 1);
        const std::string key = KeyOf(command);
        return command + ":\n" + (key.empty() ? "" : key + ": ") + value.substr(0, value.find(' ')) + "\nRPRT 0\n";
    }
};

// The conversation until the link waits on nothing, or on something later than `patience`;
// time passes only to what the link waits for.
struct Conversation {
    SimulatedRig rig;
    RigLink link;
    SteadyTime now{};
    void Run(std::string lines, std::chrono::seconds patience = 10s) {
        const SteadyTime until = now + patience;
        for (int round = 0; round < 200; ++round) {
            std::string answers;
            for (std::size_t end; (end = lines.find('\n')) != std::string::npos; lines.erase(0, end + 1))
                answers += rig.Answer(lines.substr(0, end + 1));
            lines = link.Receive(answers, now);
            if (lines.empty()) {
                if (!link.WakeAt() || *link.WakeAt() > until) return;
                now = *link.WakeAt();
                lines = link.Tick(now);
            }
        }
        FAIL() << "the conversation did not end";
    }
    void Tune(const Station& station, TuneCause cause) { Run(link.Tune(station, cause, now)); }
};

// Each tune's conversation, compared with golden/tunes.expected: what the rig was told and
// answered, the state line, and what the rig is left set to. A tune is called set only when
// the rig reads back what was set; a refusal puts back what had been set.
TEST(RigLink, ATuneIsCalledSetOnlyWhenTheRigReadsBackWhatWasSetAndARefusalLeavesNothingHalfSet) {
    const Station kDb0xb = Repeater("DB0XB", 144.65, 432.725, "FM", std::nullopt);
    const struct {
        std::string name;
        std::function<void(SimulatedRig&)> rig;
        Station station;
        TuneCause cause;
    } cases[] = {
        {"sets", [](SimulatedRig&) {}, kDb0abc, TuneCause::Follow},
        {"no tone", [](SimulatedRig& r) { r.refused["set_ctcss_tone"] = -11; }, kDb0abc, TuneCause::Tap},
        {"tone unanswered", [](SimulatedRig& r) { r.silent = {"set_ctcss_tone"}; }, kDb0abc, TuneCause::Tap},
        {"offset other", [](SimulatedRig& r) { r.readsOtherwise["get_rptr_offs"] = "600000"; }, kDb0abc, TuneCause::Tap},
        {"offset unread", [](SimulatedRig& r) { r.refused["get_rptr_offs"] = -11; }, kDb0abc, TuneCause::Tap},
        {"no split", [](SimulatedRig& r) { r.refused["set_split_freq"] = -11; }, kDb0xb, TuneCause::Tap},
        {"dmr", [](SimulatedRig&) {}, Repeater("DB0DMR", 439.1, 431.5, "DMR", std::nullopt), TuneCause::Tap},
        {"no ptt, tap", [](SimulatedRig& r) { r.ptt.reset(); }, kDb0abc, TuneCause::Tap},
        {"no ptt, follow", [](SimulatedRig& r) { r.ptt.reset(); }, kDb0abc, TuneCause::Follow},
        {"ptt unanswered, follow", [](SimulatedRig& r) { r.silent = {"get_ptt"}; }, kDb0abc, TuneCause::Follow},
        {"rprt -9", [](SimulatedRig& r) { for (const char* c : {"get_ptt", "set_freq"}) r.refused[c] = -9; }, kDb0abc, TuneCause::Tap},
    };
    std::string tunes;
    for (const auto& c : cases) {
        Conversation talk;
        c.rig(talk.rig);
        talk.Run(talk.link.Connected(talk.now));
        talk.Tune(c.station, c.cause);
        const RigState state = talk.link.State();
        EXPECT_FALSE(state.busy) << c.name;
        tunes += "# " + c.name + "\n" + talk.rig.transcript + "= " + state.line + (state.tuned ? " (tuned)" : "") + "\nleft:";
        for (const char* get : {"get_freq", "get_rptr_shift", "get_split_vfo"}) tunes += " " + talk.rig.kept[get];
        tunes += "\n\n";
        for (std::size_t at = 0; (at = talk.rig.transcript.find("> ", at)) != std::string::npos; at += 2)
            EXPECT_TRUE(talk.rig.transcript.compare(at, 4, "> +\\") == 0 && talk.rig.transcript.compare(at, 11, "> +\\set_ptt") != 0) << c.name;
    }
    ExpectGolden("tunes", tunes);
}

TEST(RigLink, NothingIsRetunedWhileTheRadioTransmitsNorInTheFiveSecondsAfter) {
    Conversation talk;
    talk.rig.ptt = "1";
    talk.Run(talk.link.Connected(talk.now));
    ASSERT_EQ(talk.link.Tune(kDb0abc, TuneCause::Tap, talk.now), PttQuestion());
    EXPECT_EQ(talk.link.Receive(std::string_view("get_freq:\nFrequency: 1\nRPRT 0\n"), talk.now), "");  // late, of another question
    talk.Run(PttQuestion(), 0s);
    EXPECT_EQ(talk.link.State().line, "Radio: waiting: the radio is transmitting");
    EXPECT_TRUE(talk.link.State().busy && SameStation(*talk.link.State().busy, kDb0abc));
    for (int second = 0; second < 30; ++second) {  // a long over: asked again each second, nothing set
        talk.now += 1s;
        talk.Run(talk.link.Tick(talk.now), 0s);
    }
    EXPECT_EQ(talk.rig.kept["get_freq"], "145000000");
    talk.rig.ptt = "0";
    const SteadyTime off = talk.now;
    while (talk.rig.kept["get_freq"] == "145000000" && talk.now - off < 10s) {
        talk.now += 1s;
        talk.Run(talk.link.Tick(talk.now), 0s);
        if (talk.rig.kept["get_freq"] == "145000000") {
            EXPECT_EQ(talk.link.State().line, "Radio: waiting 5 s after the transmission");
        }
    }
    EXPECT_GE(talk.now - off, kAfterPtt);
    EXPECT_EQ(talk.link.State().line, "Radio: 439.3750 \u22127.600 T127.3 set");
    talk.link.Disconnected();
    EXPECT_EQ(talk.link.State().line, "Radio: rigctld not running");
    EXPECT_EQ(talk.link.Tune(kDb0abc, TuneCause::Tap, talk.now), "");  // a tap is not kept for later
    EXPECT_EQ(talk.link.Connected(talk.now), "");
    talk.link.Disconnected();
    EXPECT_EQ(talk.link.Tune(kDb0abc, TuneCause::Follow, talk.now), "");  // follow's nearest is
    EXPECT_EQ(talk.link.Connected(talk.now), PttQuestion());
}

}  // namespace
}  // namespace moltrevane
