// SearchNearest end to end against the bare scan of the same statement with an empty callback.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "directory_generator.h"

namespace {

std::filesystem::path DirectoryOf(int stations) {
    const auto file = std::filesystem::temp_directory_path() / ("moltrevane-bench-" + std::to_string(stations) + ".sqlite");
    if (!std::filesystem::exists(file)) moltrevane::tools::WriteSyntheticDirectory(file, stations, moltrevane::tools::Spread::Uniform);
    return file;
}

// range(1): 0 shows every station, 1 hides beacons and ATV (every row is classified either way).
void BM_SearchNearest(benchmark::State& state) {
    const moltrevane::StationDirectory directory(DirectoryOf(static_cast<int>(state.range(0))));
    const moltrevane::GeoPoint own = moltrevane::PositionFromLocator("JN58SD");
    moltrevane::StationFilter filter;
    if (state.range(1) != 0) {
        filter.types[static_cast<std::size_t>(moltrevane::StationType::Beacon)] = false;
        filter.types[static_cast<std::size_t>(moltrevane::StationType::RepeaterAtv)] = false;
    }
    moltrevane::StationList list;
    moltrevane::NearestStations nearest;
    for (auto _ : state) {
        moltrevane::SearchNearest(own, directory, filter, list, nearest);
        benchmark::DoNotOptimize(nearest);
    }
    if (nearest[0].stationIndex == moltrevane::kNoStation) state.SkipWithError("the search found no station");
}
BENCHMARK(BM_SearchNearest)->ArgsProduct({{3000, 10000, 100000, 300000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond);

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
