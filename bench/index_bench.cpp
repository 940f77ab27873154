// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory station index: reading it, what it holds, and a search from it against a plain
// scan of the same rows in memory. The directories are made for this run and removed after it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>

#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "core/follow.h"
#include "directory/chord_bound.h"
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

// Places in and around Europe, where the invented stations are thickest, and beyond.
std::vector<GeoPoint> Places() {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> latitude(35, 65), longitude(-10, 30);
    std::vector<GeoPoint> places;
    for (int i = 0; i < 256; ++i) places.push_back({latitude(random), longitude(random)});
    return places;
}

// What index_memory, beside this program, reports of reading the file in a process of its
// own: the resident memory the index keeps and the peak while reading, in MB.
std::optional<std::pair<double, double>> FreshProcessMb(const std::filesystem::path& file) {
    const std::filesystem::path tool = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "index_memory";
    FILE* output = ::popen(("'" + tool.string() + "' '" + file.string() + "'").c_str(), "r");
    if (!output) return std::nullopt;
    long kept = 0, peak = 0;
    const bool read = std::fscanf(output, "%ld %ld", &kept, &peak) == 2;
    if (::pclose(output) != 0 || !read) return std::nullopt;
    return std::pair{kept / 1024.0, peak / 1024.0};
}

// range(0): stations (0 for the demo directory). The time is this process's read; the memory
// counters come from a fresh process (FreshProcessMb): here, the allocator would reuse what
// the directory's making and earlier reads freed.
void BM_IndexLoad(benchmark::State& state) {
    const auto file = DirectoryOf(state.range(0));
    for (auto _ : state) {
        const auto index = StationIndex::Load(file);
        if (!index || index->RowCount() == 0) state.SkipWithError("no stations read");
        benchmark::DoNotOptimize(index);
    }
    const auto memory = FreshProcessMb(file);
    if (!memory) return state.SkipWithError("index_memory did not run");
    state.counters["resident_MB"] = memory->first;
    state.counters["peak_MB"] = memory->second;
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

// A second of following at 100 km/h over a million stations, its searches included: each
// second one look at the directory file and the distance driven since the last search, and
// whenever the chosen stretch is driven the search from the index and its seven look-ups, as
// the main screen does. An iteration is a second; 3600 of them an hour's drive. range(0): the
// stretch in km.
void BM_FollowSecond(benchmark::State& state) {
    const auto file = DirectoryOf(1000000);
    IndexLoader loader(file);
    while (!loader.UpToDate()) {  // read before the clock starts, as the program does at start
        loader.Refresh();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const StationDirectory directory(file);
    const StationFilter filter;
    const int stretchKm = static_cast<int>(state.range(0));
    std::optional<FollowMark> mark;
    double latitude = 48.0;
    std::size_t searches = 0, found = 0;
    for (auto _ : state) {
        loader.Refresh();
        latitude += 100.0 / 3600 / 111.2;  // 100 km/h for a second, northwards
        const GeoPoint own{latitude, 11.0};
        if (!FollowSearchDue(stretchKm, own, mark, filter)) continue;
        std::vector<StationKey> keys;
        for (const NearStation& station : loader.Current()->Nearest(own, filter)) keys.push_back({station.call, station.locator, filter});
        for (const auto& row : directory.LookupRows(keys)) found += row.has_value();
        mark = FollowMark{own, filter};
        ++searches;
    }
    state.counters["searches"] = static_cast<double>(searches);
    if (searches == 0 || found != 7 * searches) state.SkipWithError("a search found fewer than seven");
}
BENCHMARK(BM_FollowSecond)->Arg(1)->Arg(5)->Iterations(3600)->Repetitions(3)->Unit(benchmark::kMicrosecond);

// The same rows held in memory and scanned one by one. range(0): stations; range(1): the
// filter (FilterFor); range(2): 0 measures every shown station's full distance, as the search
// over the file does; 1 first puts each through the index's own cheap bound (the chord against
// the seventh's), so that the index is compared with the best plain scan, not a slow one.
void BM_MemoryScan(benchmark::State& state) {
    struct Station {
        std::string call;
        GeoPoint place;
        UnitVector onSphere;
        Band band;
        StationType type;
    };
    std::vector<Station> stations;
    StationDirectory(DirectoryOf(state.range(0)), std::chrono::minutes(1))
        .RunQuery("SELECT call, loc, aus, mode FROM repeater ORDER BY call, loc", [&](RowValues row) {
            if (!IsValidLocator(row[1])) return;
            const GeoPoint place = PositionFromLocator(row[1]);
            stations.push_back({std::string(row[0]), place, OnSphere(place), BandOf(row[2]), TypeOf(row[3])});
        });
    const StationFilter filter = FilterFor(state.range(1));
    const bool bounded = state.range(2) == 1;
    const std::vector<GeoPoint> places = Places();
    std::size_t n = 0;
    for (auto _ : state) {
        NearestStations nearest;
        std::size_t held = 0;
        const GeoPoint own = places[n++ % places.size()];
        const UnitVector ownOnSphere = OnSphere(own);
        double limit = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < stations.size(); ++i) {
            if (bounded && Chord(ownOnSphere, stations[i].onSphere) > limit) continue;
            if (!filter.ShowsBand(stations[i].band) || !filter.ShowsType(stations[i].type)) continue;
            InsertCandidate(nearest, WholeKm(own, stations[i].place), static_cast<int>(i));
            if (bounded && ++held >= nearest.size()) limit = SquaredChordWithin(nearest.back().distanceKm);
        }
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(BM_MemoryScan)->ArgsProduct({{3000, 1000000}, {0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
