// What the driver is told without looking at the screen.
#include <gtest/gtest.h>

#include "core/alerts.h"

namespace moltrevane {
namespace {

Station Heard(std::string call, std::optional<double> outputMhz = {}, std::optional<double> inputMhz = {}) {
    Station station;
    station.call = std::move(call);
    station.outputMhz = outputMhz;
    station.inputMhz = inputMhz;
    return station;
}

TEST(SpokenTexts, CallChannelDistanceAndWayReadAloud) {
    EXPECT_EQ(SpokenNearest({Heard("DB0RPT", 145.625, 145.025), 11.3, 44.0}),
              "Nearest D B zero R P T, 145.625 minus 0.6, 12 kilometres north-east");
    EXPECT_EQ(SpokenNearest({Heard("db0x/p", 1298.225, 1305.825), 0.4, 350.0}),
              "Nearest D B zero X stroke P, 1298.225 plus 7.6, 1 kilometre north");
    EXPECT_EQ(SpokenNearest({Heard("DB0S", 144.8, 144.8), 2, 180.0}), "Nearest D B zero S, 144.8, 2 kilometres south");
    EXPECT_EQ(SpokenNearest({Heard("-v;DB0B"), 0, 0.0}), "Nearest V D B zero B, 0 kilometres");
    EXPECT_EQ(SpokenSquare("JO62QM"), "Now in J O six two Q M");
}

DrivingSecond Listing(std::int64_t seconds, std::vector<std::pair<std::string, double>> rows) {
    DrivingSecond second{seconds, true, true, "JN58SD", {}};
    for (auto& [call, km] : rows) second.listed.push_back({Heard(call), km, 90.0});
    return second;
}

TEST(AlertWatch, ANewNearestMustBeAKilometreNearerOrTheOldGone) {
    AlertWatch watch;
    EXPECT_EQ(watch.Observe(Listing(0, {{"A", 4.2}, {"B", 6}})), "Nearest A, 5 kilometres east");
    EXPECT_FALSE(watch.Observe(Listing(1, {{"A", 5.0}, {"B", 4.9}})));  // as near: no turn-taking
    EXPECT_FALSE(watch.Observe(Listing(2, {{"A", 5.8}, {"B", 4.9}})));  // not yet a kilometre nearer
    EXPECT_EQ(watch.Observe(Listing(3, {{"A", 5.9}, {"B", 4.9}})), "Nearest B, 5 kilometres east");
    EXPECT_FALSE(watch.Observe(Listing(4, {{"A", 4.5}, {"B", 5.4}}))) << "the old one back in front, by less";
    EXPECT_EQ(watch.Observe(Listing(5, {{"C", 9}, {"D", 7.5}})), "Nearest D, 8 kilometres east") << "B left the list";
}

TEST(AlertWatch, SquareChangesAndAFixLostForTenSecondsAndBack) {
    AlertWatch watch;
    DrivingSecond second{0, true, true, "JN58SD", {}};
    EXPECT_FALSE(watch.Observe(second)) << "the first square is no change";
    second.square = "JN58TD";
    second.seconds = 1;
    EXPECT_EQ(watch.Observe(second), "Now in J N five eight T D");
    second.fix = false;
    second.square.clear();
    for (second.seconds = 2; second.seconds < 11; ++second.seconds) EXPECT_FALSE(watch.Observe(second));
    EXPECT_EQ(watch.Observe(second), "GPS fix lost");  // ten seconds after the last fix
    ++second.seconds;
    EXPECT_FALSE(watch.Observe(second)) << "said once";
    second.fix = true;
    second.square = "JN58UD";
    EXPECT_EQ(watch.Observe(second), "GPS fix back. Now in J N five eight U D");
    second.gpsMode = false;  // offline: there is no fix to lose
    second.fix = false;
    for (second.seconds = 20; second.seconds < 40; ++second.seconds) EXPECT_FALSE(watch.Observe(second));
}

TEST(AlertPacer, OneAtATimeTenSecondsApartTheNewestFirst) {
    AlertPacer pacer;
    EXPECT_FALSE(pacer.Due(0, false));
    pacer.Offer("first");
    EXPECT_FALSE(pacer.Due(0, true)) << "another announcement is still being given";
    EXPECT_EQ(pacer.Due(1, false), "first");
    pacer.Offer("second");
    pacer.Offer("third");
    EXPECT_FALSE(pacer.Due(10, false)) << "nine seconds after the last";
    EXPECT_EQ(pacer.Due(11, false), "third");
    EXPECT_FALSE(pacer.Due(30, false)) << "nothing waits";
}

}  // namespace
}  // namespace moltrevane
