// The in-memory station index: reading it, what it holds, and a search from it against a plain
// scan of the same rows in memory. The directories are made for this run and removed after it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "core/follow.h"
#include "directory/index_loader.h"
#include "directory/nearest_search.h"
#include "directory/station_index.h"
#include "directory_generator.h"

namespace {

using namespace moltrevane;

class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "moltrevane-index-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~BenchFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// 0: the demo directory as the program installs it; otherwise that many invented stations,
// with the index the README recommends.
std::filesystem::path DirectoryOf(std::int64_t stations) {
    static BenchFolder folder;
    static std::map<std::int64_t, std::filesystem::path> made;
    if (made.contains(stations)) return made[stations];
    const auto file = folder.path() / (std::to_string(stations) + ".sqlite");
    sqlite3* db = nullptr;
    if (stations == 0) {
        std::ifstream sql(MOLTREVANE_SOURCE_DIR "/data/demo-directory.sql");
        std::stringstream text;
        text << sql.rdbuf();
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, text.str().c_str(), nullptr, nullptr, nullptr);
    } else {
        tools::WriteSyntheticDirectory(file, static_cast<int>(stations), tools::Spread::Uniform);
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, kCreateStationIndex, nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return made[stations] = file;
}

// 0 shows every station; 1 shows only 23 cm and what has no band: 10 % of the invented rows.
StationFilter FilterFor(std::int64_t kind) {
    StationFilter filter;
    if (kind == 1)
        for (std::size_t band = 0; band < filter.bands.size(); ++band)
            filter.bands[band] = band == static_cast<std::size_t>(Band::TwentyThreeCentimetres);
    return filter;
}

std::int64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Places in and around Europe, where the invented stations are thickest, and beyond.
std::vector<GeoPoint> Places() {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> latitude(35, 65), longitude(-10, 30);
    std::vector<GeoPoint> places;
    for (int i = 0; i < 256; ++i) places.push_back({latitude(random), longitude(random)});
    return places;
}

// range(0): stations (0 for the demo directory). The counter is what the index adds to the
// process's resident memory.
void BM_IndexLoad(benchmark::State& state) {
    const auto file = DirectoryOf(state.range(0));
    std::int64_t grown = 0;
    for (auto _ : state) {
        const std::int64_t before = ResidentBytes();
        const auto index = StationIndex::Load(file);
        grown = ResidentBytes() - before;
        if (!index || index->RowCount() == 0) state.SkipWithError("no stations read");
        benchmark::DoNotOptimize(index);
    }
    state.counters["resident_MB"] = static_cast<double>(grown) / (1 << 20);
}
BENCHMARK(BM_IndexLoad)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// range(0): stations; range(1): the filter (FilterFor).
void BM_IndexNearest(benchmark::State& state) {
    const auto index = StationIndex::Load(DirectoryOf(state.range(0)));
    const StationFilter filter = FilterFor(state.range(1));
    const std::vector<GeoPoint> places = Places();
    std::size_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(index->Nearest(places[n++ % places.size()], filter));
    if (index->Nearest(places[0], filter).size() != 7) state.SkipWithError("fewer than seven found");
}
BENCHMARK(BM_IndexNearest)->ArgsProduct({{3000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);

// What "Search Stn." costs the window's thread: the search from the index and the seven rows'
// look-ups in the file, through one connection. range(0): stations.
void BM_SearchPress(benchmark::State& state) {
    const auto file = DirectoryOf(state.range(0));
    const auto index = StationIndex::Load(file);
    const StationDirectory directory(file);
    const StationFilter filter;
    const std::vector<GeoPoint> places = Places();
    std::size_t n = 0, found = 0;
    for (auto _ : state) {
        std::vector<StationKey> keys;
        for (const NearStation& station : index->Nearest(places[n++ % places.size()], filter))
            keys.push_back({station.call, station.locator, filter});
        for (const auto& row : directory.LookupRows(keys)) found += row.has_value();
    }
    if (found != 7 * static_cast<std::size_t>(state.iterations())) state.SkipWithError("a row's look-up found nothing");
}
BENCHMARK(BM_SearchPress)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor a press stands on: the same seven look-ups' statement run on a connection opened
// once, before the clock starts, and the seven found stations known beforehand.
void BM_SevenLookupsOnAnOpenConnection(benchmark::State& state) {
    const auto file = DirectoryOf(state.range(0));
    const auto index = StationIndex::Load(file);
    std::vector<std::vector<StationKey>> presses;
    for (const GeoPoint& place : Places()) {
        presses.emplace_back();
        for (const NearStation& station : index->Nearest(place, StationFilter{})) presses.back().push_back({station.call, station.locator});
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2 FROM repeater WHERE call = ?1 "
                           "AND loc = ?2 ORDER BY loc, aus, ein, mode, qth, asl, kanal, rem1, rem2 LIMIT 1",
                       -1, &statement, nullptr);
    std::size_t n = 0, found = 0;
    for (auto _ : state)
        for (const StationKey& key : presses[n++ % presses.size()]) {
            sqlite3_bind_text(statement, 1, key.call.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(statement, 2, key.locator->c_str(), -1, SQLITE_STATIC);
            found += sqlite3_step(statement) == SQLITE_ROW;
            sqlite3_reset(statement);
        }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (found != 7 * static_cast<std::size_t>(state.iterations())) state.SkipWithError("a look-up found nothing");
}
BENCHMARK(BM_SevenLookupsOnAnOpenConnection)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What following costs every second when no search is due: one look at the directory file
// and the distance driven since the last search.
void BM_FollowSecond(benchmark::State& state) {
    IndexLoader loader(DirectoryOf(3000));
    const FollowMark mark{{48.0, 11.0}, StationFilter{}};
    double latitude = 48.0;
    for (auto _ : state) {
        loader.Refresh();
        latitude += 0.00025;  // 100 km/h for a second, northwards
        benchmark::DoNotOptimize(FollowSearchDue(20, GeoPoint{latitude, 11.0}, mark, StationFilter{}));
    }
}
BENCHMARK(BM_FollowSecond)->Unit(benchmark::kMicrosecond);

// The same rows held in memory and measured one by one, as the search over the file does.
void BM_MemoryScan(benchmark::State& state) {
    struct Station {
        std::string call;
        GeoPoint place;
        Band band;
        StationType type;
    };
    std::vector<Station> stations;
    StationDirectory(DirectoryOf(state.range(0)), std::chrono::minutes(1))
        .RunQuery("SELECT call, loc, aus, mode FROM repeater ORDER BY call, loc", [&](RowValues row) {
            if (IsValidLocator(row[1]))
                stations.push_back({std::string(row[0]), PositionFromLocator(row[1]), BandOf(row[2]), TypeOf(row[3])});
        });
    const StationFilter filter = FilterFor(state.range(1));
    const std::vector<GeoPoint> places = Places();
    std::size_t n = 0;
    for (auto _ : state) {
        NearestStations nearest;
        const GeoPoint own = places[n++ % places.size()];
        for (std::size_t i = 0; i < stations.size(); ++i)
            if (filter.ShowsBand(stations[i].band) && filter.ShowsType(stations[i].type))
                InsertCandidate(nearest, WholeKm(own, stations[i].place), static_cast<int>(i));
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(BM_MemoryScan)->ArgsProduct({{3000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
