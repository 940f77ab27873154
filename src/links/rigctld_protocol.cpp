// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/rigctld_protocol.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace moltrevane {
namespace {

constexpr RigSetting kSplitVfo{"set_split_vfo", "get_split_vfo", "", "Split", "split"};
constexpr RigSetting kSplitFreq{"set_split_freq", "get_split_freq", "", "TX Frequency", "split"};
constexpr RigSetting kFreq{"set_freq", "get_freq", "", "Frequency", "frequency"};
constexpr RigSetting kMode{"set_mode", "get_mode", "", "Mode", "mode"};
constexpr RigSetting kShift{"set_rptr_shift", "get_rptr_shift", "", "Rptr Shift", "shift"};
constexpr RigSetting kOffset{"set_rptr_offs", "get_rptr_offs", "", "Rptr Offset", "offset"};
constexpr RigSetting kToneOn{"set_func", "get_func", "TONE", "", "tone"};
constexpr RigSetting kCtcss{"set_ctcss_tone", "get_ctcss_tone", "", "CTCSS Tone", "tone"};
constexpr RigSetting kDcs{"set_dcs_code", "get_dcs_code", "", "DCS Code", "DCS code"};

// A repeater's shift is a few per cent of its frequency (7.6 MHz of 439, 28 of 1298); a pair
// further apart is a cross-band repeater, set as split.
constexpr double kLargestShiftShare = 0.10;
constexpr long long kHzSlack = 10;  // a rig's frequency steps may round what it was given

long long Hz(double mhz) { return std::llround(mhz * 1e6); }

// The mode hamlib sets for the station's modes: FM where the station speaks it (an FM/DMR
// repeater is reached in FM), else D-STAR or C4FM; nothing for a mode hamlib cannot set.
std::optional<std::string_view> HamlibMode(std::string_view mode) {
    std::string upper(mode);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < upper.size();) {
        const std::size_t end = std::min(upper.find_first_of(" /,;+", at), upper.size());
        if (end > at) words.emplace_back(std::string_view(upper).substr(at, end - at));
        at = end + 1;
    }
    const auto has = [&](std::string_view word) { return std::find(words.begin(), words.end(), word) != words.end(); };
    if (has("FM")) return "FM";
    if (has("D-STAR") || has("DSTAR")) return "D-STAR";
    if (has("C4FM") || has("YSF")) return "C4FM";
    return std::nullopt;
}

std::string Number(long long value) { return std::to_string(value); }

std::optional<double> NumberOf(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string Mhz(double mhz, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, mhz);
    return text;
}

void AddTone(TunePlan& plan, const std::optional<AccessTone>& tone) {
    if (tone && tone->kind == AccessTone::Kind::Ctcss) {
        const long long tenths = std::llround(tone->hz * 10);
        plan.values.push_back({&kCtcss, Number(tenths), Number(tenths)});
        plan.values.push_back({&kToneOn, "1", ""});
        plan.channel += " T" + StoredTone(*tone);
        return;
    }
    plan.values.push_back({&kToneOn, "0", ""});  // a tone burst is no CTCSS: the encoder goes off
    if (tone && tone->kind == AccessTone::Kind::Dcs) {
        plan.values.push_back({&kDcs, Number(tone->code), Number(tone->code)});
        plan.channel += " " + StoredTone(*tone);
    }
}

}  // namespace

std::optional<TunePlan> PlanTune(const Station& station, bool splitOn) {
    const std::optional<double> output = station.outputMhz, input = station.inputMhz;
    if (!output || !std::isfinite(*output) || *output <= 0 || *output > 1e6) return std::nullopt;
    const bool hasInput = input && std::isfinite(*input) && *input > 0 && *input <= 1e6;
    const double shift = hasInput ? *input - *output : 0;
    const bool crossBand = std::fabs(shift) > kLargestShiftShare * *output;
    TunePlan plan;
    plan.channel = Mhz(*output, 4);
    const std::string outputHz = Number(Hz(*output));
    if (crossBand) {
        plan.values.push_back({&kSplitVfo, "1 VFOB", "1"});
        plan.values.push_back({&kSplitFreq, Number(Hz(*input)), Number(Hz(*input)), kHzSlack});
        plan.channel += " split " + Mhz(*input, 4);
    } else if (splitOn) {
        plan.values.push_back({&kSplitVfo, "0 VFOA", "0"});
    }
    plan.values.push_back({&kFreq, outputHz, outputHz, kHzSlack});
    if (const std::optional<std::string_view> mode = HamlibMode(station.mode))
        plan.values.push_back({&kMode, std::string(*mode) + " 0", ""});
    else
        plan.unsetMode = station.mode;
    const long long shiftHz = Hz(shift);
    if (crossBand || shiftHz == 0) {
        plan.values.push_back({&kShift, "None", "None"});
    } else {
        const std::string sign = shiftHz < 0 ? "-" : "+";
        plan.values.push_back({&kShift, sign, sign});
        plan.values.push_back({&kOffset, Number(std::llabs(shiftHz)), Number(std::llabs(shiftHz))});
        plan.channel += (shiftHz < 0 ? " \u2212" : " +") + Mhz(std::fabs(shift), 3);
    }
    AddTone(plan, station.tone);
    return plan;
}

std::string SetLine(const RigValue& value) {
    const RigSetting& s = *value.setting;
    return "+\\" + std::string(s.set) + " " + (s.argument.empty() ? "" : std::string(s.argument) + " ") + value.value + "\n";
}

std::string GetLine(const RigSetting& setting) {
    return "+\\" + std::string(setting.get) + (setting.argument.empty() ? "" : " " + std::string(setting.argument)) + "\n";
}

std::vector<const RigSetting*> SettingsOf(const TunePlan& plan) {
    std::vector<const RigSetting*> settings;
    for (const RigValue& value : plan.values)
        if (std::find(settings.begin(), settings.end(), value.setting) == settings.end()) settings.push_back(value.setting);
    return settings;
}

std::string PttQuestion() { return "+\\get_ptt\n"; }

std::string_view CommandOf(std::string_view line) {
    if (line.starts_with("+\\")) line.remove_prefix(2);
    return line.substr(0, std::min(line.find_first_of(" \n"), line.size()));
}

std::optional<RigValue> ValueOfAnswer(const RigSetting& setting, const RigAnswer& answer) {
    if (answer.code != 0 || answer.values.empty()) return std::nullopt;
    std::string value;
    for (const auto& [key, text] : answer.values) value += (value.empty() ? "" : " ") + text;
    return RigValue{&setting, value, ""};
}

bool ReadsBack(const RigValue& value, const RigAnswer& answer) {
    if (answer.code != 0 || answer.values.empty() || answer.values.front().first != value.setting->key) return false;
    const std::string& read = answer.values.front().second;
    const std::optional<double> got = NumberOf(read), wanted = NumberOf(value.expected);
    if (got && wanted) return std::fabs(*got - *wanted) <= static_cast<double>(value.slack);
    return read == value.expected;
}

std::optional<bool> PttOf(const RigAnswer& answer) {
    if (answer.code != 0 || answer.values.empty() || answer.values.front().first != "PTT") return std::nullopt;
    return answer.values.front().second != "0";
}

void RigAnswerReader::Receive(std::span<const char> bytes) {
    for (const char c : bytes) {
        if (garbled_) return;
        if (c == '\n') {
            TakeLine(line_);
            line_.clear();
        } else if (line_.size() < kRigLongestLine) {
            line_ += c;
        } else {
            garbled_ = true;
        }
    }
}

std::optional<RigAnswer> RigAnswerReader::Take() {
    if (done_.empty()) return std::nullopt;
    RigAnswer answer = std::move(done_.front());
    done_.pop_front();
    return answer;
}

// The first line echoes the command ("get_freq:", "set_freq: 439375000"), the values follow
// ("Frequency: 439375000", or a bare "1" for a function) and "RPRT n" ends the answer.
void RigAnswerReader::TakeLine(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (++answerLines_ > kRigMostAnswerLines) {
        garbled_ = true;
        return;
    }
    if (line.starts_with("RPRT ")) {
        int code = 0;
        const std::string_view digits = line.substr(5);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
        answer_.code = error == std::errc() && end == digits.data() + digits.size() ? code : -1;
        done_.push_back(std::move(answer_));
        answer_ = {};
        answerBegun_ = false;
        answerLines_ = 0;
        if (done_.size() > kRigMostAnswersWaiting) garbled_ = true;
        return;
    }
    const std::size_t colon = line.find(':');
    if (!answerBegun_) {
        answerBegun_ = true;
        answer_.command = line.substr(0, colon);
        return;
    }
    if (colon == std::string_view::npos) {
        answer_.values.emplace_back("", line);
    } else {
        std::string_view value = line.substr(colon + 1);
        if (value.starts_with(' ')) value.remove_prefix(1);
        answer_.values.emplace_back(line.substr(0, colon), value);
    }
}

std::string TunedText(const TunePlan& plan) {
    if (!plan.unsetMode.empty())
        return "Radio: " + plan.channel + " set, the frequency only: hamlib cannot set " + plan.unsetMode;
    return "Radio: " + plan.channel + " set";
}

std::string RefusedText(const RigSetting& setting, std::optional<int> code) {
    return "Radio: the rig took no " + std::string(setting.noun) +
           (code ? " (RPRT " + std::to_string(*code) + ")" : " (no answer)");
}

std::string NotKeptText(const RigSetting& setting) { return "Radio: the rig did not keep the " + std::string(setting.noun); }

std::string UnreadText(const TunePlan& plan, const RigSetting& setting) {
    return "Radio: " + plan.channel + " sent; the rig cannot read back its " + std::string(setting.noun);
}

}  // namespace moltrevane
