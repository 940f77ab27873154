// A directory row read as a station's record: the numbers a screen, a voice and a radio use.
#include "directory/station.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

using Kind = AccessTone::Kind;

TEST(AccessTone, OnlyATonesOwnFormIsATone) {
    const struct {
        const char* stored;
        std::optional<AccessTone> tone;
    } cases[] = {
        {"127.3", AccessTone{Kind::Ctcss, 127.3, 0}}, {"67.0", AccessTone{Kind::Ctcss, 67.0, 0}},
        {"254.1", AccessTone{Kind::Ctcss, 254.1, 0}}, {"88", AccessTone{Kind::Ctcss, 88, 0}},
        {"D023", AccessTone{Kind::Dcs, 0, 23}},       {"D754", AccessTone{Kind::Dcs, 0, 754}},
        {"1750", AccessTone{Kind::Burst, 1750, 0}},   {"66.9", std::nullopt},
        {"254.2", std::nullopt},                      {"D081", std::nullopt},  // 8 is no octal digit
        {"D23", std::nullopt},                        {"127.35", std::nullopt},
        {"127,3", std::nullopt},                      {"Ablage 0", std::nullopt},
        {"", std::nullopt},                           {"-127.3", std::nullopt},
        {"1750.0", AccessTone{Kind::Burst, 1750, 0}}, {"CC1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AccessToneOf(c.stored), c.tone) << c.stored;
        if (c.tone) EXPECT_EQ(AccessToneOf(StoredTone(*c.tone)), c.tone) << c.stored << " written back";
    }
    EXPECT_EQ(StoredTone({Kind::Ctcss, 88, 0}), "88.0");
    EXPECT_EQ(StoredTone({Kind::Dcs, 0, 23}), "D023");
}

TEST(StationOf, TheColumnsInTheirPlaces) {
    const Station repeater = StationOf({"DB0ABC", "JN58SD", "520", "FM", "Muenchen", "439.1000", "431.5000", "RU692",
                                        "127.3", "demo"});
    EXPECT_EQ(repeater.call, "DB0ABC");
    EXPECT_EQ(repeater.locator, "JN58SD");
    EXPECT_EQ(repeater.height, "520");
    EXPECT_EQ(repeater.mode, "FM");
    EXPECT_EQ(repeater.place, "Muenchen");
    EXPECT_EQ(repeater.outputMhz, 439.1);
    EXPECT_EQ(repeater.inputMhz, 431.5);
    EXPECT_EQ(repeater.channelName, "RU692");
    EXPECT_EQ(repeater.tone, (AccessTone{Kind::Ctcss, 127.3, 0}));
    ASSERT_TRUE(repeater.point);
    EXPECT_NEAR(repeater.point->latitude, 48.1458, 1e-3);   // the centre of JN58SD
    EXPECT_NEAR(repeater.point->longitude, 11.5417, 1e-3);

    const Station bare = StationOf({"DB0X", "JN5", "", "", "", "", "kaputt", "", "Ablage", ""});
    EXPECT_FALSE(bare.outputMhz);
    EXPECT_FALSE(bare.inputMhz);
    EXPECT_FALSE(bare.tone);
    EXPECT_FALSE(bare.point) << "a locator that is none places nothing";
    EXPECT_TRUE(StationOf({"DB0Y", "JN58SDxx", "", "", "", "", "", "", "", ""}).point) << "its first six";
}

}  // namespace
}  // namespace moltrevane
