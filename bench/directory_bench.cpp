// SPDX-License-Identifier: GPL-3.0-or-later
// SearchNearest end to end against the bare scan of the same statement with an empty callback.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "directory_generator.h"

namespace {

// The directories of this run, without and with the index the README recommends, made in a
// folder of the run's own and removed at its end: a file left by another run, build or user
// may hold other rows or another index. MOLTREVANE_BENCH_FOLDER names a folder to use instead,
// so that several runs of one script share the files the first one made.
class BenchFiles {
public:
    BenchFiles() {
        if (const char* given = std::getenv("MOLTREVANE_BENCH_FOLDER")) {
            folder_ = given;
            return;
        }
        std::string name = (std::filesystem::temp_directory_path() / "moltrevane-bench-XXXXXX").string();
        if (!::mkdtemp(name.data())) throw std::runtime_error("no folder for the benchmark's directories");
        folder_ = name;
        owned_ = true;
    }
    ~BenchFiles() {
        std::error_code ignored;
        if (owned_) std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path DirectoryOf(int stations, bool indexed) const {
        const auto file = folder_ / ((indexed ? "indexed-" : "") + std::to_string(stations) + ".sqlite");
        if (std::filesystem::exists(file)) return file;
        moltrevane::tools::WriteSyntheticDirectory(file, stations, moltrevane::tools::Spread::Uniform);
        if (indexed) {
            sqlite3* db = nullptr;
            sqlite3_open(file.c_str(), &db);
            sqlite3_exec(db, moltrevane::kCreateStationIndex, nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        return file;
    }

private:
    std::filesystem::path folder_;
    bool owned_ = false;
};

std::filesystem::path DirectoryOf(int stations, bool indexed = false) {
    static const BenchFiles files;
    return files.DirectoryOf(stations, indexed);
}

// 0 shows every station (nothing is classified); 1 hides beacons and ATV (8 % of the rows);
// 2 hides transponders, of which there are none: every row is classified, none dropped;
// 3 hides "KW" (2 % of the rows): every row's frequency is read.
moltrevane::StationFilter FilterFor(std::int64_t kind) {
    using moltrevane::StationType;
    moltrevane::StationFilter filter;
    for (const StationType hidden : kind == 1   ? std::vector{StationType::Beacon, StationType::RepeaterAtv}
                                    : kind == 2 ? std::vector{StationType::Transponder}
                                                : std::vector<StationType>{})
        filter.types[static_cast<std::size_t>(hidden)] = false;
    filter.bands[static_cast<std::size_t>(moltrevane::Band::Hf)] = kind != 3;
    return filter;
}

// Under a profiler a search runs many times slower than the program's limit allows.
constexpr std::chrono::hours kNoTimeLimit{1};

// A search as a benchmark's arguments ask for it. range(0): stations; range(1): the filter
// (FilterFor); range(2): 1 for the indexed file.
struct Search {
    explicit Search(const benchmark::State& state)
        : directory(DirectoryOf(static_cast<int>(state.range(0)), state.range(2) != 0), kNoTimeLimit),
          filter(FilterFor(state.range(1))) {}
    void Run() { moltrevane::SearchNearest(own, directory, filter, list, nearest); }

    const moltrevane::StationDirectory directory;
    const moltrevane::GeoPoint own = moltrevane::PositionFromLocator("JN58SD");
    const moltrevane::StationFilter filter;
    moltrevane::StationList list;
    moltrevane::NearestStations nearest;
};

void BM_SearchNearest(benchmark::State& state) {
    Search search(state);
    for (auto _ : state) {
        search.Run();
        benchmark::DoNotOptimize(search.nearest);
    }
    if (search.nearest[0].stationIndex == moltrevane::kNoStation) state.SkipWithError("the search found no station");
}

// What "Search Stn." costs: the search, then the lookup of each row the search measured.
void BM_SearchStationPress(benchmark::State& state) {
    Search search(state);
    benchmark::IterationCount found = 0;
    for (auto _ : state) {
        search.Run();
        std::vector<moltrevane::StationKey> keys;
        for (const moltrevane::NearestEntry& entry : search.nearest) {
            if (entry.stationIndex == moltrevane::kNoStation) continue;
            const auto index = static_cast<std::size_t>(entry.stationIndex);
            keys.push_back({std::string(search.list.Call(index)), std::string(search.list.Locator(index)), search.filter});
        }
        for (const auto& row : search.directory.LookupRows(keys)) found += row.has_value();
    }
    if (found != 7 * state.iterations()) state.SkipWithError("a row's lookup found nothing");
}
BENCHMARK(BM_SearchStationPress)->ArgsProduct({{3000, 100000}, {0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SearchNearest)->ArgsProduct({{3000, 100000, 1000000}, {0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_BareScan(benchmark::State& state) {
    const std::filesystem::path file = DirectoryOf(static_cast<int>(state.range(0)));
    const std::string statement(moltrevane::kStationListStatement);
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, statement.c_str(), [](void*, int, char**, char**) { return 0; }, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_BareScan)->Arg(3000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
