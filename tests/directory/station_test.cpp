// SPDX-License-Identifier: GPL-3.0-or-later
// A directory row read as a station's record: the numbers a screen, a voice and a radio use.
#include "directory/station.h"

#include <gtest/gtest.h>

#include "support/directory_fixture.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

std::string ToneText(const std::optional<AccessTone>& tone) {
    static constexpr const char* kKinds[] = {"CTCSS", "DCS", "burst"};
    return tone ? std::string(kKinds[static_cast<int>(tone->kind)]) + " " + testing::Exact(tone->hz) + " Hz, code " +
                      std::to_string(tone->code)
                : "none";
}

// Only a tone's own form is a tone, and it is written back in that form.
TEST(AccessTone, TheTonesOfTheTable) {
    testing::ExpectTable("directory/golden/tones.txt", [](std::istream& line) {
        std::string stored;
        std::getline(line, stored);
        const std::optional<AccessTone> tone = AccessToneOf(stored);
        if (!tone) return ToneText(tone);
        EXPECT_EQ(AccessToneOf(StoredTone(*tone)), tone) << stored << " written back";
        return ToneText(tone) + "; stored " + StoredTone(*tone);
    });
}

TEST(StationOf, TheStationsOfTheTable) {
    testing::ExpectTable("directory/golden/stations.txt", [](std::istream& line) {
        StoredRow row;
        for (std::string& value : row) std::getline(line, value, '|');
        const Station s = StationOf(row);
        const auto mhz = [](std::optional<double> value) { return value ? testing::Exact(*value) : "-"; };
        return s.call + "|" + s.locator + "|" + s.height + "|" + s.mode + "|" + s.place + "|" + s.channelName + "| out " +
               mhz(s.outputMhz) + ", in " + mhz(s.inputMhz) + ", tone " + ToneText(s.tone) + (s.fromSquare ? ", by its square" : "") +
               (s.point ? ", at " + testing::Fixed(s.point->latitude, 4) + " " + testing::Fixed(s.point->longitude, 4) : ", nowhere");
    });
}

}  // namespace
}  // namespace moltrevane
