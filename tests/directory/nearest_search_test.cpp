// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/nearest_search.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "directory/station_directory.h"
#include "directory/station_index.h"
#include "support/directory_fixture.h"
#include "directory_generator.h"

#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/nearest.txt. One list and one seven for every search, as the program keeps them.
TEST(SearchNearest, TheNearestSevenOfTheTable) {
    const testing::TempFolder folder;
    StationList list;
    NearestStations nearest;
    int directories = 0;
    testing::ExpectTable("directory/golden/nearest.txt", [&](std::istream& line) {
        std::string own, rows;
        std::getline(line >> own >> std::ws, rows);
        const auto file = folder / (std::to_string(++directories) + ".sqlite");
        if (rows != "none") {
            testing::WriteDirectory(file, {});
            sqlite3* db = nullptr;
            sqlite3_open(file.c_str(), &db);
            EXPECT_EQ(sqlite3_exec(db, ("INSERT INTO repeater " + rows).c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << rows;
            sqlite3_close(db);
        }
        SearchNearest(PositionFromLocator(own), StationDirectory(file), StationFilter{}, list, nearest);
        std::string text;
        for (std::size_t i = 0; i < list.Count(); ++i) text += std::string(list.Call(i)) + " " + std::string(list.Locator(i)) + ", ";
        for (const NearestEntry& e : nearest)
            text += e.stationIndex == kNoStation ? (e.distanceKm == kUnfilledDistance ? " -" : " ?")
                                                 : " " + std::string(list.Call(static_cast<std::size_t>(e.stationIndex))) + " " +
                                                       std::to_string(e.distanceKm);
        const std::optional<StationIndex> index = StationIndex::Load(file);
        text += index ? "; index:" : "; no index";
        for (const NearStation& s : index ? index->Nearest(PositionFromLocator(own), {}) : NearStations{})
            text += " " + s.call + " " + s.locator + " " + std::to_string(s.distanceKm);
        return text;
    });
}

TEST(SearchNearest, LargeDirectoriesAreReadWhole) {
    testing::TempFolder folder;
    tools::WriteSyntheticDirectory(folder / "big.sqlite", 5000, tools::Spread::Clustered);
    const GeoPoint own = PositionFromLocator("JO50AA");
    StationList list;
    NearestStations nearest;
    SearchNearest(own, StationDirectory(folder / "big.sqlite"), StationFilter{}, list, nearest);
    EXPECT_EQ(list.Count(), 5000u);
    for (std::size_t p = 1; p < nearest.size(); ++p) EXPECT_LE(nearest[p - 1].distanceKm, nearest[p].distanceKm);
    EXPECT_NE(nearest.back().stationIndex, kNoStation);
}

}  // namespace
}  // namespace moltrevane
