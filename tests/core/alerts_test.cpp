// SPDX-License-Identifier: GPL-3.0-or-later
// What the driver is told without looking at the screen, and when.
#include <gtest/gtest.h>

#include "core/alerts.h"

namespace moltrevane {
namespace {

Station Heard(std::string call) {
    Station station;
    station.call = std::move(call);
    return station;
}

DrivingSecond Listing(std::int64_t seconds, std::vector<std::pair<std::string, double>> rows) {
    DrivingSecond second{seconds, true, true, "JN58SD", {}, {}};
    for (auto& [call, km] : rows) second.listed.push_back({Heard(call), km, 90.0});
    return second;
}

using Kinds = std::vector<AlertKind>;
const AlertChoices kEverything;

TEST(AlertWatch, ANewNearestMustBeAKilometreNearerOrTheOldGone) {
    AlertWatch watch;
    const Kinds nearest{AlertKind::Nearest};
    EXPECT_EQ(watch.Observe(Listing(0, {{"A", 4.2}, {"B", 6}}), kEverything), nearest);
    EXPECT_EQ(watch.Observe(Listing(1, {{"A", 5.0}, {"B", 4.9}}), kEverything), Kinds{});  // as near: no turn-taking
    EXPECT_EQ(watch.Observe(Listing(2, {{"A", 5.8}, {"B", 4.9}}), kEverything), Kinds{});  // not yet a kilometre nearer
    EXPECT_EQ(watch.Observe(Listing(3, {{"A", 5.9}, {"B", 4.9}}), kEverything), nearest);
    EXPECT_EQ(watch.Observe(Listing(4, {{"A", 4.5}, {"B", 5.4}}), kEverything), Kinds{}) << "the old one back in front, by less";
    EXPECT_EQ(watch.Observe(Listing(5, {{"C", 9}, {"D", 7.5}}), kEverything), nearest) << "B left the list";
}

// Told late, a change is told as the list has it then: the nearest now, with its distance now.
TEST(AlertWatch, AChangeIsToldAsTheSecondItIsToldInHasIt) {
    AlertWatch watch;
    ASSERT_EQ(watch.Observe(Listing(0, {{"A", 4.2}, {"B", 6}}), kEverything), Kinds{AlertKind::Nearest});
    const DrivingSecond later = Listing(8, {{"B", 3.1}, {"A", 3.4}});
    EXPECT_EQ(watch.Tell({AlertKind::Nearest}, later, kEverything),
              (Announcement{{AlertKind::Nearest}, "Nearest Bravo, 4 kilometres east"}));
    EXPECT_EQ(watch.Observe(Listing(9, {{"A", 2.0}, {"B", 3.1}}), kEverything), Kinds{AlertKind::Nearest})
        << "B was told: A is the new nearest, a kilometre nearer";
    EXPECT_EQ(watch.Tell({AlertKind::Nearest}, Listing(10, {}), kEverything), std::nullopt) << "the list emptied";
    EXPECT_EQ(watch.Tell({AlertKind::FixLost}, Listing(11, {}), kEverything), std::nullopt) << "the fix came back before";
}

TEST(AlertWatch, SquareChangesOfFourOrSixCharactersAndAFixLostForTenSecondsAndBack) {
    AlertWatch watch;
    DrivingSecond second{0, true, true, "JN58SD", {}, {}};
    EXPECT_EQ(watch.Observe(second, kEverything), Kinds{}) << "the first square is no change";
    second = {1, true, true, "JN58TD", {}, {}};
    EXPECT_EQ(watch.Observe(second, kEverything), Kinds{AlertKind::Square});
    EXPECT_EQ(watch.Tell({AlertKind::Square}, second, kEverything)->text, "Now in Juliet November Five Eight Tango Delta");
    second = {2, true, false, "", {}, {}};
    for (; second.seconds < 11; ++second.seconds) EXPECT_EQ(watch.Observe(second, kEverything), Kinds{});
    EXPECT_EQ(watch.Observe(second, kEverything), Kinds{AlertKind::FixLost});  // ten seconds after the last fix
    EXPECT_EQ(watch.Tell({AlertKind::FixLost}, second, kEverything)->text, "GPS fix lost");
    ++second.seconds;
    EXPECT_EQ(watch.Observe(second, kEverything), Kinds{}) << "said once";
    second.fix = true;
    second.square = "JN59UA";
    EXPECT_EQ(watch.Observe(second, kEverything), (Kinds{AlertKind::FixBack, AlertKind::Square}));
    const AlertChoices squares4{true, 4, true};
    EXPECT_EQ(watch.Tell({AlertKind::FixBack, AlertKind::Square}, second, squares4),
              (Announcement{{AlertKind::FixBack, AlertKind::Square}, "GPS fix back. Now in Juliet November Five Nine"}));
    second.square = "JN59VB";
    EXPECT_EQ(watch.Observe(second, squares4), Kinds{}) << "the same 4 characters";
    second.square = "JN69AB";
    EXPECT_EQ(watch.Observe(second, squares4), Kinds{AlertKind::Square});
    second.gpsMode = false;  // offline: there is no fix to lose
    second.fix = false;
    for (second.seconds = 20; second.seconds < 40; ++second.seconds) EXPECT_EQ(watch.Observe(second, kEverything), Kinds{});
}

// A kind switched off is never told, but watched all the same: switched on again, it tells
// what changes from then on, not what changed while it was off.
TEST(AlertWatch, EachKindIsToldOnlyWhenChosen) {
    const struct {
        AlertChoices chosen;
        Kinds told;
    } cases[] = {
        {{true, 6, true}, {AlertKind::FixBack, AlertKind::Square, AlertKind::Nearest}},
        {{false, 6, true}, {AlertKind::FixBack, AlertKind::Square}},
        {{true, 0, true}, {AlertKind::FixBack, AlertKind::Nearest}},
        {{true, 4, true}, {AlertKind::FixBack, AlertKind::Nearest}},  // the same 4 characters
        {{true, 6, false}, {AlertKind::Square, AlertKind::Nearest}},
        {{false, 0, false}, {}},
    };
    for (const auto& c : cases) {
        AlertWatch watch;
        DrivingSecond second = Listing(0, {{"A", 3}});
        watch.Observe(second, c.chosen);
        second.fix = false;
        for (second.seconds = 1; second.seconds <= 10; ++second.seconds) watch.Observe(second, c.chosen);
        second.fix = true;
        second.square = "JN58SE";
        second.listed = Listing(11, {{"B", 1}}).listed;
        EXPECT_EQ(watch.Observe(second, c.chosen), c.told) << c.chosen.nearest << c.chosen.squareLength << c.chosen.fix;
        second.square = "JN58SF";
        EXPECT_EQ(watch.Observe(second, kEverything), Kinds{AlertKind::Square}) << "switched on, from what it last saw";
    }
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
