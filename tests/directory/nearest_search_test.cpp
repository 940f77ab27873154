#include "directory/nearest_search.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "directory/station_directory.h"
#include "support/directory_fixture.h"
#include "directory_generator.h"

namespace moltrevane {
namespace {

using testing::Row;

struct SearchResult {
    StationList list;
    NearestStations nearest;
    std::vector<std::string> calls() const {
        std::vector<std::string> out;
        for (const NearestEntry& e : nearest)
            out.push_back(e.stationIndex == kNoStation ? "-" : std::string(list.Call(static_cast<std::size_t>(e.stationIndex))));
        return out;
    }
};

SearchResult Search(GeoPoint own, const std::vector<Row>& rows) {
    testing::TempFolder folder;
    testing::WriteDirectory(folder / "d.sqlite", rows);
    SearchResult result;
    SearchNearest(own, StationDirectory(folder / "d.sqlite"), StationFilter{}, result.list, result.nearest);
    return result;
}

TEST(SearchNearest, EveryRowIsACandidateAndEmptyPositionsAreMarked) {
    const GeoPoint own = PositionFromLocator("JN58SD");
    const SearchResult r = Search(own, {Row{"A1", "JN58SD"}, Row{"B1", "JO62QM"}, Row{"C1", "JN58TD"}});
    EXPECT_EQ(r.calls(), (std::vector<std::string>{"A1", "C1", "B1", "-", "-", "-", "-"}));
    EXPECT_EQ(r.nearest[0].distanceKm, 0);
    EXPECT_EQ(r.nearest[1].distanceKm, 7);  // 6.18 km rounded up
    EXPECT_EQ(r.nearest[2].distanceKm, 504);
    EXPECT_EQ(r.nearest[3].distanceKm, kUnfilledDistance);
}

TEST(SearchNearest, DuplicateCallsKeepTheSmallestLocatorAndBadLocatorsAreSkipped) {
    const GeoPoint own = PositionFromLocator("JO62QM");
    const SearchResult r = Search(own, {Row{"DUP", "JN58SD"}, Row{"DUP", "JO62QM"}, Row{"BAD", "jo62qm"},
                                          Row{"NUL", std::nullopt}, Row{"LONGCALL99", "JO62QMXX"}});
    ASSERT_EQ(r.list.Count(), 4u);
    EXPECT_EQ(r.list.Locator(1), "JN58SD");
    EXPECT_EQ(r.list.Call(3), "NUL");
    EXPECT_EQ(r.calls(), (std::vector<std::string>{"LONGCALL99", "DUP", "-", "-", "-", "-", "-"}));
}

TEST(SearchNearest, ACallIsListedOnceWhateverItsStorageAndOverlongTextIsNoStation) {
    testing::TempFolder folder;
    const auto file = folder / "d.sqlite";
    testing::WriteDirectory(file, {Row{std::string(100, 'L'), "JN58SD"}, Row{"FAR", "JN58SD" + std::string(100, 'x')}});
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "INSERT INTO repeater (call, loc) VALUES (123, 'JN58SD'), ('123', 'JN58SD'), "
                     "(CAST('123' AS BLOB), 'JN58SD'), ('OK', 'JN58TD'), ('ZE' || char(0) || 'RO', 'JN58SD')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const GeoPoint own = PositionFromLocator("JN58SD");
    SearchResult r;
    SearchNearest(own, StationDirectory(file), StationFilter{}, r.list, r.nearest);
    // A value ends at its first zero byte.
    EXPECT_EQ(r.calls(), (std::vector<std::string>{"123", "ZE", "OK", "-", "-", "-", "-"}));
}

TEST(SearchNearest, TiesKeepTheEarlierCallAndEqualToLastDoesNotEnter) {
    const GeoPoint own = PositionFromLocator("JN58SD");
    std::vector<Row> rows;
    for (char c = 'A'; c <= 'H'; ++c) rows.push_back(Row{std::string("S") + c, "JN58TD"});  // eight at 7 km
    EXPECT_EQ(Search(own, rows).calls(), (std::vector<std::string>{"SA", "SB", "SC", "SD", "SE", "SF", "SG"}));
    rows.push_back(Row{"Z", "JN58SD"});  // nearer, and last in the list
    EXPECT_EQ(Search(own, rows).calls(), (std::vector<std::string>{"Z", "SA", "SB", "SC", "SD", "SE", "SF"}));
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
