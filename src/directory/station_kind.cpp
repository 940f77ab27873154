// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_kind.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <utility>

namespace moltrevane {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        return upper(x) == upper(y);
    });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllSet(std::span<const bool> flags) { return std::all_of(flags.begin(), flags.end(), [](bool set) { return set; }); }

// Words of a mode, by the type they make a station of; the search classifies every row, so
// this stays a plain table.
constexpr std::pair<std::string_view, StationType> kModeWords[] = {
    {"ATV", StationType::RepeaterAtv},   {"BAKE", StationType::Beacon},       {"BEACON", StationType::Beacon},
    {"DIGI", StationType::Digipeater},   {"APRS", StationType::Digipeater},   {"PACKET", StationType::Digipeater},
    {"TRANSPONDER", StationType::Transponder}, {"FM", StationType::RepeaterFm}, {"DMR", StationType::RepeaterFm},
    {"D-STAR", StationType::RepeaterFm}, {"C4FM", StationType::RepeaterFm},  {"YSF", StationType::RepeaterFm},
    {"NXDN", StationType::RepeaterFm},   {"P25", StationType::RepeaterFm},   {"TETRA", StationType::RepeaterFm},
    {"M17", StationType::RepeaterFm},    {"MULTI", StationType::RepeaterFm},
};

constexpr std::pair<std::string_view, VoiceMode> kVoiceWords[] = {
    {"FM", VoiceMode::Fm},      {"DMR", VoiceMode::Dmr},           {"D-STAR", VoiceMode::DStar},
    {"DSTAR", VoiceMode::DStar}, {"C4FM", VoiceMode::C4fm},        {"YSF", VoiceMode::C4fm},
    {"NXDN", VoiceMode::OtherDigital}, {"P25", VoiceMode::OtherDigital}, {"TETRA", VoiceMode::OtherDigital},
    {"M17", VoiceMode::OtherDigital},
};

// Calls `each` with every word of a mode.
template <class Each>
void ForEachWord(std::string_view mode, Each each) {
    for (std::size_t start = 0; start < mode.size();) {
        const std::size_t end = std::min(mode.find_first_of(" \t/,;+", start), mode.size());
        each(mode.substr(start, end - start));
        start = end + 1;
    }
}

// When a mode names several types, the first of this order wins.
constexpr std::array kPrecedence = {StationType::RepeaterAtv, StationType::Beacon, StationType::Digipeater,
                                    StationType::Transponder, StationType::RepeaterFm, StationType::Other};

std::size_t RankOf(StationType type) {
    return static_cast<std::size_t>(std::find(kPrecedence.begin(), kPrecedence.end(), type) - kPrecedence.begin());
}

StationType WordType(std::string_view word) {
    for (const auto& [known, type] : kModeWords)
        if (known.size() == word.size() && SameLetters(known, word)) return type;
    return StationType::Other;
}

}  // namespace

std::optional<double> FrequencyMhz(std::string_view text) {
    text = Trimmed(text);
    std::size_t at = 0;
    double mhz = 0;
    bool digits = false;
    for (; at < text.size() && IsDigit(text[at]); ++at, digits = true) mhz = mhz * 10 + (text[at] - '0');
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        double scale = 0.1;
        for (++at; at < text.size() && IsDigit(text[at]); ++at, digits = true, scale /= 10) mhz += (text[at] - '0') * scale;
    }
    const std::string_view unit = Trimmed(text.substr(at));
    if (!digits || !std::isfinite(mhz) || (!unit.empty() && !SameLetters(unit, "MHz"))) return std::nullopt;
    return mhz;
}

Band BandOf(std::string_view aus) {
    const std::optional<double> mhz = FrequencyMhz(aus);
    if (!mhz || *mhz <= 0) return Band::Unknown;
    if (*mhz < 30) return Band::Hf;
    if (*mhz >= 144 && *mhz <= 148) return Band::TwoMetres;
    if (*mhz >= 420 && *mhz <= 450) return Band::SeventyCentimetres;
    if (*mhz >= 1240 && *mhz <= 1300) return Band::TwentyThreeCentimetres;
    if (*mhz >= 2300) return Band::Microwave;
    return Band::Unknown;
}

StationType TypeOf(std::string_view mode) {
    StationType type = StationType::Other;
    ForEachWord(mode, [&](std::string_view word) {
        if (const StationType named = WordType(word); RankOf(named) < RankOf(type)) type = named;
    });
    return type;
}

VoiceModes ModesOf(std::string_view mode) {
    VoiceModes modes = 0;
    ForEachWord(mode, [&](std::string_view word) {
        for (const auto& [known, voice] : kVoiceWords)
            if (known.size() == word.size() && SameLetters(known, word)) modes |= ModeBit(voice);
    });
    return modes;
}

bool StationFilter::ShowsAllBands() const { return AllSet(bands); }

bool StationFilter::ShowsAllTypes() const { return AllSet(types) && modes == kAllVoiceModes; }

}  // namespace moltrevane
