// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_kind.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/filter_flags.h"
#include "directory/known_texts.h"
#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "support/directory_fixture.h"

namespace moltrevane {
namespace {

TEST(BandOf, EdgesAndOddTexts) {
    const std::pair<const char*, Band> cases[] = {
        {"29.999", Band::Hf},        {"30", Band::Unknown},           {"51.910", Band::Unknown},
        {"143.999", Band::Unknown},  {"144", Band::TwoMetres},        {"148", Band::TwoMetres},
        {"148.001", Band::Unknown},  {"420", Band::SeventyCentimetres}, {"450", Band::SeventyCentimetres},
        {"1240", Band::TwentyThreeCentimetres}, {"1300", Band::TwentyThreeCentimetres}, {"1300.5", Band::Unknown},
        {"2299.9", Band::Unknown},   {"2300", Band::Microwave},       {"10368.1", Band::Microwave},
        {"145,6125", Band::TwoMetres}, {"145.6125 MHz", Band::TwoMetres}, {" 439.0 mhz ", Band::SeventyCentimetres},
        {"", Band::Unknown},         {"145.6125 kHz", Band::Unknown}, {"R2", Band::Unknown},
        {"-145", Band::Unknown},     {"0", Band::Unknown},            {"nan", Band::Unknown},
    };
    for (const auto& [aus, band] : cases) EXPECT_EQ(BandOf(aus), band) << aus;
}

// One word of each type (the rest of the table is the same lookup), in any case, and words joined.
TEST(TypeOf, WordsOfTheModeInAnyCase) {
    const std::pair<const char*, StationType> cases[] = {
        {"atv", StationType::RepeaterAtv},  {"BEACON", StationType::Beacon},    {"APRS", StationType::Digipeater},
        {"Transponder", StationType::Transponder}, {"D-STAR", StationType::RepeaterFm}, {"FM/DMR", StationType::RepeaterFm},
        {"", StationType::Other},           {"SSB", StationType::Other},        {"FMX", StationType::Other},
    };
    for (const auto& [mode, type] : cases) EXPECT_EQ(TypeOf(mode), type) << mode;
}

// Enough texts that many share a slot and the table is full, texts of every size about the
// longest kept, and texts that differ only after their first zero byte: each answer must be its
// own text's, whether the text comes with its size or up to its zero byte.
TEST(KnownTexts, AnswersEachTextAndWorksItOutOnce) {
    std::vector<std::string> texts = {"FM", "fm"};
    for (std::size_t size = 0; size <= 17; ++size) texts.push_back(std::string("ABCDEFGHIJKLMNOPQ").substr(0, size));
    for (int i = 0; i < 2000; ++i) texts.push_back(std::to_string(144 + i / 1000.0));
    for (int i = 0; i < 600; ++i) texts.insert(texts.end(), {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP" + std::to_string(i)});
    int workedOut = 0;
    const auto classify = [&](std::string_view text) {
        ++workedOut;
        return std::hash<std::string_view>{}(text);
    };
    KnownTexts<std::size_t> zeroEnded, sized;
    for (int pass = 0; pass < 2; ++pass)
        for (const std::string& text : texts) {
            EXPECT_EQ(zeroEnded.Of(text.c_str(), classify), classify(text)) << text;
            EXPECT_EQ(sized.Of(std::string_view(text), classify), classify(text)) << text;
        }
    const std::string withZero("FM\0ATV", 6);
    EXPECT_EQ(zeroEnded.Of(withZero.c_str(), classify), classify("FM"));
    EXPECT_EQ(sized.Of(std::string_view(withZero), classify), classify("FM"));

    // A directory's few hundred channels, alike but for their last digits, are worked out once.
    std::vector<std::string> channels;
    for (const double base : {145.0, 438.0})
        for (int step = 0; step < 160; ++step) channels.push_back(std::to_string(base + step * 0.0125).substr(0, 8));
    KnownTexts<std::size_t> directory;
    workedOut = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (const std::string& channel : channels) directory.Of(std::string_view(channel), classify);
    EXPECT_EQ(workedOut, 320);
}

// Search with every flag set but one, each voice mode cleared alone, and band and type together
// (both columns read), on a directory with a station of each band and type, in UTF-8 and UTF-16
// (the file's text is read as text).
TEST(SearchNearestFiltered, EachFlagClearedHidesExactlyItsStations) {
    testing::TempFolder folder;
    const std::vector<testing::Row> rows = {
        {"HF", "JN58SD", "", "FM", "", "29.620"},        {"TWO", "JN58SD", "", "FM", "", "145.600"},
        {"SEVENTY", "JN58SD", "", "DMR", "", "439.100"}, {"TWENTYTHREE", "JN58SD", "", "ATV", "", "1278.250"},
        {"MICRO", "JN58SD", "", "Bake", "", "10368.9"},  {"DIGI", "JN58SD", "", "APRS", "", "144.800"},
        {"TRANS", "JN58SD", "", "Transponder", "", "435.0"}, {"SIX", "JN58SD", "", "FM", "", "51.910"},
        {"NOFREQ", "JN58SD", "", "SSB", "", ""},         {"DSTAR", "JN58SD", "", "D-STAR", "", ""},
        {"FUSION", "JN58SD", "", "ysf", "", ""},         {"TETRA", "JN58SD", "", "TETRA", "", ""},
        {"MIXED", "JN58SD", "", "FM/DMR", "", ""},       {"MULTI", "JN58SD", "", "Multi", "", ""},
    };
    testing::WriteDirectory(folder / "utf8.sqlite", rows);
    testing::WriteDirectory(folder / "utf16.sqlite", rows, "UTF-16le");
    StationList list;
    NearestStations nearest;
    const auto expectHidden = [&](const StationFilter& filter, const std::set<std::string>& hidden, const auto& name) {
        for (const char* file : {"utf8.sqlite", "utf16.sqlite"}) {
            SearchNearest(PositionFromLocator("JN58SD"), StationDirectory(folder / file), filter, list, nearest);
            std::set<std::string> shown, expected;
            for (std::size_t i = 0; i < list.Count(); ++i) shown.emplace(list.Call(i));
            for (const testing::Row& row : rows)
                if (!hidden.contains(*row[0])) expected.emplace(*row[0]);
            EXPECT_EQ(shown, expected) << name << " in " << file;
        }
    };
    expectHidden(StationFilter{}, {}, "all");
    const std::map<std::string_view, std::set<std::string>> hidden = {
        {"KW", {"HF"}},           {"2 m", {"TWO", "DIGI"}},         {"70 cm", {"SEVENTY", "TRANS"}},
        {"23 cm", {"TWENTYTHREE"}}, {"< 23 cm", {"MICRO"}},        {"Repeater FM / Multi", {"HF", "TWO", "SEVENTY", "SIX", "DSTAR", "FUSION", "TETRA", "MIXED", "MULTI"}},
        {"Repeater ATV", {"TWENTYTHREE"}}, {"Transponder", {"TRANS"}}, {"Digipeater", {"DIGI"}},
        {"Bake", {"MICRO"}},      {"other", {"NOFREQ"}},
    };
    for (const FilterFlag& flag : kFilterFlags) {
        AppState state;
        for (const FilterFlag& other : kFilterFlags) state.*other.field = &other != &flag;
        expectHidden(FilterOf(state), hidden.at(flag.label), flag.label);
    }
    // A station of several modes shows while one of them is chosen; one whose mode names none (a
    // beacon, "Multi") is never hidden by the modes.
    const std::pair<VoiceModes, std::set<std::string>> modesHidden[] = {
        {kAllVoiceModes & ~ModeBit(VoiceMode::Fm), {"HF", "TWO", "SIX"}},
        {kAllVoiceModes & ~ModeBit(VoiceMode::Dmr), {"SEVENTY"}},
        {kAllVoiceModes & ~ModeBit(VoiceMode::DStar), {"DSTAR"}},
        {kAllVoiceModes & ~ModeBit(VoiceMode::C4fm), {"FUSION"}},
        {kAllVoiceModes & ~ModeBit(VoiceMode::OtherDigital), {"TETRA"}},
        {ModeBit(VoiceMode::Fm), {"SEVENTY", "DSTAR", "FUSION", "TETRA"}},
        {0, {"HF", "TWO", "SIX", "SEVENTY", "DSTAR", "FUSION", "TETRA", "MIXED"}},
    };
    for (const auto& [modes, hiddenCalls] : modesHidden) {
        StationFilter filter;
        filter.modes = modes;
        expectHidden(filter, hiddenCalls, int{modes});
    }
    StationFilter bandAndType;
    bandAndType.bands[static_cast<std::size_t>(Band::TwoMetres)] = false;
    bandAndType.types[static_cast<std::size_t>(StationType::Beacon)] = false;
    expectHidden(bandAndType, {"TWO", "DIGI", "MICRO"}, "2 m and Bake");
}

}  // namespace
}  // namespace moltrevane
