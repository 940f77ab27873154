// SPDX-License-Identifier: GPL-3.0-or-later
// A directory file as anyone may hand it over: rows of every storage class, any journal mode,
// bytes overwritten anywhere, searched with any filter from any place. The search leaves the
// folder as it was, lists each call once, its seven are the seven nearest of what it read, and
// the index read from the same file lists the same seven.
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geo/distance.h"
#include "directory/nearest_search.h"
#include "directory/station_index.h"
#include "directory/station_directory.h"
#include "support/directory_fixture.h"
#include "fuzz_check.h"

namespace {

using namespace moltrevane;

// A value as SQL: NULL, an integer, a real, a text or a blob.
std::string SqlValue(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0: return "NULL";
        case 1: return std::to_string(input.ConsumeIntegralInRange(-999, 99999));
        case 2: return std::to_string(input.ConsumeFloatingPointInRange(-1e3, 1e3));
        default: {
            std::string text = "'";
            for (const char c : input.ConsumeRandomLengthString(20)) text += c == '\'' ? std::string("''") : std::string(1, c);
            return input.ConsumeBool() ? text + "'" : "CAST(" + text + "' AS BLOB)";
        }
    }
}

void WriteFile(const std::filesystem::path& file, FuzzedDataProvider& input) {
    static constexpr const char* kModes[] = {"DELETE", "WAL", "TRUNCATE", "PERSIST", "MEMORY", "OFF"};
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, moltrevane::kCreateRepeaterTable, nullptr, nullptr, nullptr);
    const std::string mode = kModes[input.ConsumeIntegralInRange<std::size_t>(0, 5)];
    sqlite3_exec(db, ("PRAGMA journal_mode=" + mode).c_str(), nullptr, nullptr, nullptr);
    for (int rows = input.ConsumeIntegralInRange(0, 20); rows > 0; --rows) {
        const std::string call = SqlValue(input);
        const std::string locator = input.ConsumeBool() ? "'" + input.ConsumeBytesAsString(6) + "'" : SqlValue(input);
        const std::string values = call + ", " + locator + ", " + SqlValue(input) + ", " + SqlValue(input);
        sqlite3_exec(db, ("INSERT INTO repeater (call, loc, aus, mode) VALUES (" + values + ")").c_str(), nullptr, nullptr,
                     nullptr);
    }
    sqlite3_close(db);
    std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(file));
    for (int n = input.ConsumeIntegralInRange(0, 4); n > 0 && size > 0; --n) {
        bytes.seekp(static_cast<std::streamoff>(input.ConsumeIntegralInRange<std::size_t>(0, size - 1)));
        bytes.put(static_cast<char>(input.ConsumeIntegral<unsigned char>()));
    }
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = moltrevane::testing::ReadFile(entry.path());
    return files;
}

// The seven nearest by sorting every usable entry, ties to the earlier one.
std::vector<std::pair<int, int>> SevenNearest(GeoPoint own, const StationList& list) {
    std::vector<std::pair<int, int>> all;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        if (!IsValidLocator(list.Locator(i))) continue;
        const GeoPoint station = PositionFromLocator(list.Locator(i));
        const double km = DistanceKm(own.latitude, own.longitude, station.latitude, station.longitude);
        all.emplace_back(static_cast<int>(std::ceil(km)), static_cast<int>(i));
    }
    std::sort(all.begin(), all.end());
    all.resize(std::min<std::size_t>(all.size(), 7));
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const moltrevane::testing::TempFolder folder;
    WriteFile(folder / "Moltrevane.sqlite", input);
    const auto before = FolderContents(folder.path());

    StationList list;
    NearestStations nearest;
    StationFilter filter;  // what is left of the input hides bands and types; nothing left, nothing hidden
    for (bool& shown : filter.bands) shown = !input.ConsumeBool();
    for (bool& shown : filter.types) shown = !input.ConsumeBool();
    const GeoPoint own{input.ConsumeFloatingPointInRange(-90.0, 90.0), input.ConsumeFloatingPointInRange(-180.0, 180.0)};
    SearchNearest(own, StationDirectory(folder / "Moltrevane.sqlite"), filter, list, nearest);

    FUZZ_CHECK(FolderContents(folder.path()) == before);
    std::set<std::string_view> calls;
    for (std::size_t i = 0; i < list.Count(); ++i) FUZZ_CHECK(calls.insert(list.Call(i)).second);
    const auto expected = SevenNearest(own, list);
    for (std::size_t r = 0; r < nearest.size(); ++r) {
        const bool filled = r < expected.size();
        FUZZ_CHECK(filled ? nearest[r].distanceKm == expected[r].first && nearest[r].stationIndex == expected[r].second
                          : nearest[r].stationIndex == kNoStation);
    }

    const std::optional<StationIndex> index = StationIndex::Load(folder / "Moltrevane.sqlite");
    const NearStations fromIndex = index ? index->Nearest(own, filter) : NearStations{};
    FUZZ_CHECK(fromIndex.size() == expected.size());
    for (std::size_t r = 0; r < fromIndex.size(); ++r) {
        const auto i = static_cast<std::size_t>(expected[r].second);
        FUZZ_CHECK(fromIndex[r].call == list.Call(i) && fromIndex[r].locator == list.Locator(i) &&
                   fromIndex[r].distanceKm == expected[r].first);
    }
    return 0;
}
