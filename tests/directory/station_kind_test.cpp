// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_kind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/filter_flags.h"
#include "directory/known_texts.h"
#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "support/directory_fixture.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/kinds.txt: the bands' edges and odd texts, and one word of each type (the rest of the
// table is the same lookup), in any case, and words joined.
TEST(StationKind, BandsAndTypesOfTheTable) {
    const std::string bands[] = {"KW", "2 m", "70 cm", "23 cm", "< 23 cm", "unknown"};
    const std::string types[] = {"Repeater FM / Multi", "Repeater ATV", "Transponder", "Digipeater", "Bake", "other"};
    testing::ExpectTable("directory/golden/kinds.txt", [&](std::istream& line) {
        std::string kind, text;
        std::getline(std::getline(line, kind, '|'), text, '|');
        return kind == "band" ? bands[static_cast<int>(BandOf(text))] : types[static_cast<int>(TypeOf(text))];
    });
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

// Search with every flag set but one, each voice mode cleared alone, only FM, none, and band and
// type together (both columns read), on a directory with a station of each band and type, in
// UTF-8 and UTF-16 (the file's text is read as text). A station of several modes shows while
// one of them is chosen; one whose mode names none (a beacon, "Multi") is never hidden by the
// modes. What each hides is in golden/filtered.txt.
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
    const auto hidden = [&](const char* file, const StationFilter& filter) {
        SearchNearest(PositionFromLocator("JN58SD"), StationDirectory(folder / file), filter, list, nearest);
        std::set<std::string> shown, calls;
        for (std::size_t i = 0; i < list.Count(); ++i) shown.emplace(list.Call(i));
        for (const testing::Row& row : rows) calls.emplace(*row[0]);
        std::string text;
        for (const std::string& call : calls) text += shown.erase(call) ? "" : " " + call;
        return "hidden" + text + (shown.empty() ? "" : ", and listed what is none of them");
    };
    testing::ExpectTable("directory/golden/filtered.txt", [&](std::istream& line) {
        AppState state;
        for (const FilterFlag& flag : kFilterFlags) state.*flag.field = true;
        for (std::string name; std::getline(line >> std::ws, name, ',');) {
            const auto flag = std::ranges::find(kFilterFlags, name, &FilterFlag::label);
            const auto mode = std::ranges::find(kVoiceModeNames, name);
            EXPECT_TRUE(flag != kFilterFlags.end() || mode != kVoiceModeNames.end()) << name;
            if (flag != kFilterFlags.end()) state.*flag->field = false;
            if (mode != kVoiceModeNames.end()) state.shownModes &= ~ModeBit(static_cast<VoiceMode>(mode - kVoiceModeNames.begin()));
        }
        EXPECT_EQ(hidden("utf16.sqlite", FilterOf(state)), hidden("utf8.sqlite", FilterOf(state)));
        return hidden("utf8.sqlite", FilterOf(state));
    });
}

}  // namespace
}  // namespace moltrevane
