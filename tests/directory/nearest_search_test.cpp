// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/nearest_search.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "directory/station_directory.h"
#include "support/directory_fixture.h"
#include "directory_generator.h"

namespace moltrevane {
namespace {

using testing::Row;

// The list as "CALL LOC", then the seven nearest as "CALL KM", "-" for a place left unfilled.
std::string Searched(GeoPoint own, const std::filesystem::path& file) {
    StationList list;
    NearestStations nearest;
    SearchNearest(own, StationDirectory(file), StationFilter{}, list, nearest);
    std::string text;
    for (std::size_t i = 0; i < list.Count(); ++i) text += std::string(list.Call(i)) + " " + std::string(list.Locator(i)) + ", ";
    for (const NearestEntry& e : nearest)
        text += e.stationIndex == kNoStation ? (e.distanceKm == kUnfilledDistance ? " -" : " ?")
                                             : " " + std::string(list.Call(static_cast<std::size_t>(e.stationIndex))) + " " +
                                                   std::to_string(e.distanceKm);
    return text;
}

// Every row is a candidate; a call's duplicates keep the smallest locator; a locator that is none
// places nothing; ties keep the earlier call, and one equal to the last does not enter; a call
// is listed once whatever its storage, a value ends at its first zero byte, and overlong text
// is no station.
TEST(SearchNearest, TheNearestSevenOfTheListedCalls) {
    std::vector<Row> eight;
    for (char c = 'A'; c <= 'H'; ++c) eight.push_back(Row{std::string("S") + c, "JN58TD"});  // at 7 km
    std::vector<Row> nearerLast = eight;
    nearerLast.push_back(Row{"Z", "JN58SD"});
    const struct {
        const char* own;
        std::vector<Row> rows;
        const char* sql;
        std::string found;
    } cases[] = {
        {"JN58SD", {Row{"A1", "JN58SD"}, Row{"B1", "JO62QM"}, Row{"C1", "JN58TD"}}, "",
         "A1 JN58SD, B1 JO62QM, C1 JN58TD,  A1 0 C1 7 B1 504 - - - -"},  // 6.18 km rounded up
        {"JO62QM", {Row{"DUP", "JN58SD"}, Row{"DUP", "JO62QM"}, Row{"BAD", "jo62qm"}, Row{"NUL", std::nullopt}, Row{"LONGCALL99", "JO62QMXX"}},
         "", "BAD jo62qm, DUP JN58SD, LONGCALL99 JO62QMXX, NUL ,  LONGCALL99 0 DUP 504 - - - - -"},
        {"JN58SD", eight, "", "SA JN58TD, SB JN58TD, SC JN58TD, SD JN58TD, SE JN58TD, SF JN58TD, SG JN58TD, SH JN58TD,  SA 7 SB 7 SC 7 SD 7 SE 7 SF 7 SG 7"},
        {"JN58SD", nearerLast, "", "SA JN58TD, SB JN58TD, SC JN58TD, SD JN58TD, SE JN58TD, SF JN58TD, SG JN58TD, SH JN58TD, Z JN58SD,  Z 0 SA 7 SB 7 SC 7 SD 7 SE 7 SF 7"},
        {"JN58SD", {Row{std::string(100, 'L'), "JN58SD"}, Row{"FAR", "JN58SD" + std::string(100, 'x')}},
         "INSERT INTO repeater (call, loc) VALUES (123, 'JN58SD'), ('123', 'JN58SD'), (CAST('123' AS BLOB), 'JN58SD'), "
         "('OK', 'JN58TD'), ('ZE' || char(0) || 'RO', 'JN58SD')",
         "123 JN58SD, OK JN58TD, ZE JN58SD,  123 0 ZE 0 OK 7 - - - -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.found);
        testing::TempFolder folder;
        testing::WriteDirectory(folder / "d.sqlite", c.rows);
        sqlite3* db = nullptr;
        sqlite3_open((folder / "d.sqlite").c_str(), &db);
        sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr);
        sqlite3_close(db);
        EXPECT_EQ(Searched(PositionFromLocator(c.own), folder / "d.sqlite"), c.found);
    }
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

    // A second search over a missing file leaves nothing stale behind.
    SearchNearest(own, StationDirectory(folder / "gone.sqlite"), StationFilter{}, list, nearest);
    EXPECT_EQ(list.Count(), 0u);
    for (const NearestEntry& e : nearest) EXPECT_EQ(e.stationIndex, kNoStation);
}

}  // namespace
}  // namespace moltrevane
