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

// What "Search Stn." costs the window's thread: the search from the index and each row's
// look-up in the file. range(0): stations.
void BM_SearchPress(benchmark::State& state) {
    const auto file = DirectoryOf(state.range(0));
    const auto index = StationIndex::Load(file);
    const StationDirectory directory(file);
    const StationFilter filter;
    const std::vector<GeoPoint> places = Places();
    std::size_t n = 0, found = 0;
    for (auto _ : state)
        for (const NearStation& station : index->Nearest(places[n++ % places.size()], filter))
            found += directory.LookupCall({station.call, station.locator, filter}).found;
    if (found != 7 * static_cast<std::size_t>(state.iterations())) state.SkipWithError("a row's look-up found nothing");
}
BENCHMARK(BM_SearchPress)->Arg(1000000)->Unit(benchmark::kMillisecond);

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
