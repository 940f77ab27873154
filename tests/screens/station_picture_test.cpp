// The picture of the listed stations around the car.
#include "screens/station_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/fake_toolkit.h"

namespace moltrevane {
namespace {

TEST(StationPicture, RingsAtRoundDistancesHoldingTheFarthest) {
    const struct {
        double farthestKm;
        Rings rings;
    } cases[] = {
        {0, {1, 1}},    {0.4, {1, 1}},  {1, {1, 1}},    {3.2, {1, 4}},    {4, {1, 4}},      {4.1, {2, 3}},
        {7, {2, 4}},    {12, {5, 3}},   {37, {10, 4}},  {41, {20, 3}},    {180, {50, 4}},   {900, {500, 2}},
        {20000, {5000, 4}}, {std::nan(""), {1, 1}}, {-3, {1, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(RingsFor(c.farthestKm), c.rings) << c.farthestKm;
}

constexpr PictureArea kArea{226, 34, 220, 210};  // the wide main screen's: the car at 336, 139
constexpr int kCarX = 336, kCarY = 139, kRadius = 91;

MeasuredStation At(std::string call, double km, double bearingDeg) {
    Station station;
    station.call = std::move(call);
    return {station, km, bearingDeg};
}

struct Drawn {
    std::string what;
    int x = 0, y = 0, size = 0;
    std::string text;
};

// The recorded calls read back: "dot 336 48 4", "ring 336 139 91", "text 334 35 x0.5 N".
std::vector<Drawn> Painted(const std::optional<AroundTheCar>& around) {
    testing::RecordingPainter painter;
    PaintStationPicture(painter, kArea, around);
    std::vector<Drawn> drawn;
    for (const std::string& call : painter.calls) {
        std::istringstream words(call);
        Drawn d;
        words >> d.what;
        if (d.what == "ink") {
            words >> d.text;
        } else if (d.what == "text") {
            std::string size;
            words >> d.x >> d.y >> size;
            std::getline(words >> std::ws, d.text);
        } else {
            words >> d.x >> d.y >> d.size;
        }
        drawn.push_back(d);
    }
    return drawn;
}

// Where a dot lies from the car, as the driver looks at the picture.
std::string Side(const Drawn& dot) {
    const int dx = dot.x - kCarX, dy = dot.y - kCarY;
    if (std::abs(dx) <= 1) return dy < 0 ? "up" : "down";
    if (std::abs(dy) <= 1) return dx < 0 ? "left" : "right";
    return std::string(dy < 0 ? "up" : "down") + (dx < 0 ? " left" : " right");
}

TEST(StationPicture, HeadingUpWhileMovingNorthUpStanding) {
    const struct {
        double bearing;
        std::optional<double> heading;
        const char* side;
    } cases[] = {
        {0, std::nullopt, "up"},     {90, std::nullopt, "right"}, {180, std::nullopt, "down"}, {225, std::nullopt, "down left"},
        {90, 90.0, "up"},            {0, 90.0, "left"},           {270, 90.0, "down"},         {180, 90.0, "right"},
        {10, 350.0, "up right"},     {350, 10.0, "up left"},      {5, 5.0, "up"},              {185, 5.0, "down"},
    };
    for (const auto& c : cases) {
        const std::vector<Drawn> drawn = Painted(AroundTheCar{{At("SR5KAB", 8, c.bearing)}, c.heading, Ink::Live});
        const auto dot = std::find_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.what == "dot" && d.size > 1; });
        ASSERT_NE(dot, drawn.end());
        EXPECT_EQ(Side(*dot), c.side) << c.bearing << " going " << c.heading.value_or(-1);
        EXPECT_NEAR(std::hypot(dot->x - kCarX, dot->y - kCarY), kRadius, 1.5) << "8 km on the outer of 2 km rings";
    }
}

TEST(StationPicture, NorthIsMarkedTheCarPointsUpAndTheNearestLiesOnTop) {
    const AroundTheCar going{{At("SR5KAB", 3, 90), At("SP5ABCDEFG", 18, 60), At("SR5WI", 19, 180)}, 90.0, Ink::Live};
    const std::vector<Drawn> drawn = Painted(going);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn[0].what + " " + std::to_string(drawn[0].x) + " " + std::to_string(drawn[0].y), "fill 226 34");
    std::vector<std::string> rings, texts, dots;
    for (const Drawn& d : drawn) {
        if (d.what == "ring") rings.push_back(std::to_string(d.size));
        if (d.what == "text") texts.push_back(d.text);
        if (d.what == "dot") dots.push_back(Side(d) + " " + std::to_string(d.size));
    }
    EXPECT_EQ(rings, (std::vector<std::string>{"22", "45", "68", "91"})) << "19 km: four rings 5 km apart";
    EXPECT_EQ(texts, (std::vector<std::string>{"5", "10", "15", "20 km", "N", "SR5WI", "SP5ABCD", "SR5KAB"}));
    EXPECT_EQ(dots, (std::vector<std::string>{"right 3", "up left 3", "up 4"})) << "the nearest last, larger";
    const auto north = std::find_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.text == "N"; });
    EXPECT_LT(north->x, kCarX - kRadius) << "going east, north lies on the left";
    const int car = static_cast<int>(std::count_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.what == "line"; }));
    EXPECT_EQ(car, 4) << "the car an arrowhead while it moves";
    // A call that would run off the picture's right is written on its dot's left.
    const auto right = std::find_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.text == "SR5WI"; });
    const auto rightDot = std::find_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.what == "dot" && d.x > kCarX + 80; });
    ASSERT_NE(rightDot, drawn.end());
    EXPECT_LT(right->x + 5 * 4, rightDot->x);
}

// In the design's shape the picture is the map's size: rings too close for a label each.
TEST(StationPicture, OnlyTheOuterRingIsLabelledWhereTheRingsLieClose) {
    testing::RecordingPainter painter;
    PaintStationPicture(painter, {10, 140, 220, 106}, AroundTheCar{{At("SR5KAB", 19, 90)}, std::nullopt, Ink::Live});
    std::vector<std::string> rings;
    for (const std::string& call : painter.calls)
        if (call.starts_with("ring 120 193") || call.starts_with("text")) rings.push_back(call);
    EXPECT_EQ(rings, (std::vector<std::string>{"ring 120 193 9", "ring 120 193 19", "ring 120 193 29", "ring 120 193 39",
                                               "text 150 219 x0.5 20 km", "text 117 139 x0.7 N", "text 164 187 x0.5 SR5KAB",
                                               "ring 120 193 5"}));
}

TEST(StationPicture, ALostFixGreysTheStationsAndNoPositionDrawsNothing) {
    const std::vector<Drawn> kept = Painted(AroundTheCar{{At("SR5KAB", 3, 90)}, std::nullopt, Ink::Stale});
    std::vector<std::string> inks;
    for (const Drawn& d : kept)
        if (d.what == "ink") inks.push_back(d.text);
    EXPECT_EQ(inks, (std::vector<std::string>{"faint", "stale"})) << "the rings faint, the rest greyed";
    EXPECT_EQ(Painted(std::nullopt).size(), 1u) << "the area filled, nothing on it";
}

}  // namespace
}  // namespace moltrevane
