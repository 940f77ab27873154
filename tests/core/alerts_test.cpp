// SPDX-License-Identifier: GPL-3.0-or-later
// What the driver is told without looking at the screen, and when.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/alerts.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

using Kinds = std::vector<AlertKind>;
const char* const kKindNames[] = {"FixLost", "FixBack", "Square", "Nearest"};

std::string Named(const Kinds& kinds) {
    std::string named;
    for (const AlertKind kind : kinds) named += (named.empty() ? "" : " ") + std::string(kKindNames[static_cast<int>(kind)]);
    return named.empty() ? "-" : named;
}

// golden/alerts.txt: drives second by second, what changes and what is told of it.
TEST(AlertWatch, DrivesOfTheTable) {
    AlertWatch watch;
    testing::ExpectTable("core/golden/alerts.txt", [&](std::istream& in) {
        std::string word;
        std::optional<Kinds> told;  // of a "tell" line
        if (in >> word && word == "tell") {
            for (told.emplace(); in >> word && word != ":";)
                told->push_back(static_cast<AlertKind>(std::find(std::begin(kKindNames), std::end(kKindNames), word) - kKindNames));
            in >> word;
        }
        DrivingSecond second;
        second.seconds = std::stoll(word);
        if (second.seconds == 0) watch = AlertWatch();
        in >> word;
        second.gpsMode = word != "offline";
        second.fix = second.gpsMode && word != "nofix";
        if (second.fix) second.square = word;
        for (double km = 0; in >> word && word != "chosen" && in >> km;) second.listed.push_back({StationOf({word}), km, 90.0});
        AlertChoices chosen;
        if (word == "chosen" && in >> word) chosen = {word[0] == 'N', word[1] - '0', word[2] == 'F'};
        const Kinds kinds = told ? *told : watch.Observe(second, chosen);
        const std::optional<Announcement> announced = kinds.empty() ? std::nullopt : watch.Tell(kinds, second, chosen);
        if (told) return announced ? Named(announced->kinds) + ": " + announced->text : "-";
        return Named(kinds) + (announced ? ": " + announced->text : "");
    });
}

TEST(AlertPacer, OneAtATimeTenSecondsApartTheNewestFirst) {
    AlertPacer pacer;
    EXPECT_FALSE(pacer.Due(0, false));
    pacer.Offer({AlertKind::Nearest});
    EXPECT_FALSE(pacer.Due(0, true)) << "another announcement is still being given";
    EXPECT_EQ(pacer.Due(1, false), Kinds{AlertKind::Nearest});
    pacer.Offer({AlertKind::Nearest});
    pacer.Offer({AlertKind::Square});
    pacer.Offer({});  // nothing changed: the square still waits
    EXPECT_FALSE(pacer.Due(10, false)) << "nine seconds after the last";
    EXPECT_EQ(pacer.Due(11, false), Kinds{AlertKind::Square});
    EXPECT_FALSE(pacer.Due(30, false)) << "nothing waits";
}

}  // namespace
}  // namespace moltrevane
