// SPDX-License-Identifier: GPL-3.0-or-later
// A directory row read as a station's record: the numbers a screen, a voice and a radio use.
#include "directory/station.h"

#include <gtest/gtest.h>

#include <tuple>

namespace moltrevane {
namespace {

using Kind = AccessTone::Kind;

TEST(AccessTone, OnlyATonesOwnFormIsATone) {
    const std::pair<const char*, std::optional<AccessTone>> cases[] = {
        {"127.3", AccessTone{Kind::Ctcss, 127.3, 0}}, {"67.0", AccessTone{Kind::Ctcss, 67.0, 0}}, {"254.1", AccessTone{Kind::Ctcss, 254.1, 0}},
        {"88", AccessTone{Kind::Ctcss, 88, 0}},       {"D023", AccessTone{Kind::Dcs, 0, 23}},     {"D754", AccessTone{Kind::Dcs, 0, 754}},
        {"1750", AccessTone{Kind::Burst, 1750, 0}},   {"1750.0", AccessTone{Kind::Burst, 1750, 0}}, {"66.9", std::nullopt},
        {"254.2", std::nullopt}, {"D081", std::nullopt} /* 8 is no octal digit */, {"D23", std::nullopt}, {"127.35", std::nullopt},
        {"127,3", std::nullopt}, {"Ablage 0", std::nullopt}, {"", std::nullopt}, {"-127.3", std::nullopt}, {"CC1", std::nullopt},
    };
    for (const auto& [stored, tone] : cases) {
        EXPECT_EQ(AccessToneOf(stored), tone) << stored;
        if (tone) {
            EXPECT_EQ(AccessToneOf(StoredTone(*tone)), tone) << stored << " written back";
        }
    }
    EXPECT_EQ(StoredTone({Kind::Ctcss, 88, 0}), "88.0");
    EXPECT_EQ(StoredTone({Kind::Dcs, 0, 23}), "D023");
}

TEST(StationOf, TheColumnsInTheirPlaces) {
    const Station r = StationOf({"DB0ABC", "JN58SD", "520", "FM", "Muenchen", "439.1000", "431.5000", "RU692", "127.3", "demo"});
    EXPECT_EQ(std::tie(r.call, r.locator, r.height, r.mode, r.place, r.channelName, r.outputMhz, r.inputMhz, r.tone, r.fromSquare),
              std::tuple("DB0ABC", "JN58SD", "520", "FM", "Muenchen", "RU692", 439.1, 431.5, AccessTone{Kind::Ctcss, 127.3, 0}, false));
    const Station bare = StationOf({"DB0X", "JN5", "", "", "", "", "kaputt", "", "Ablage", ""});
    EXPECT_FALSE(bare.outputMhz || bare.inputMhz || bare.tone);
    EXPECT_TRUE(StationOf({"G", "IO91LL", "", "", "", "", "", "", "", std::string(kPlacedBySquareRemark) + "; x"}).fromSquare);

    // The site where the row has one, the centre of its locator's first six where it has none or
    // no number; nothing where the locator is none.
    const std::optional<GeoPoint> centre = GeoPoint{48.1458, 11.5417};  // of JN58SD
    const struct {
        const char *loc, *lat, *lon;
        std::optional<GeoPoint> site;
    } sites[] = {{"JN58SD", "48.1", "-0.25", GeoPoint{48.1, -0.25}}, {"JN58SD", "", "", centre}, {"JN58SD", "48.1", "", centre},
                 {"JN58SD", "91", "11", centre}, {"JN58SD", "48,1", "11", centre}, {"JN58SDxx", "", "", centre}, {"JN5", "", "", {}}};
    for (const auto& [loc, lat, lon, site] : sites) {
        SCOPED_TRACE(::testing::Message() << loc << " " << lat << " " << lon);
        const auto point = StationOf({"DB0Z", loc, "", "", "", "", "", "", "", "", lat, lon}).point;
        ASSERT_EQ(point.has_value(), site.has_value());
        if (!point) continue;
        EXPECT_NEAR(point->latitude, site->latitude, 1e-3);
        EXPECT_NEAR(point->longitude, site->longitude, 1e-3);
    }
}

}  // namespace
}  // namespace moltrevane
