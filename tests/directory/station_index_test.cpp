// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_index.h"

#include <gtest/gtest.h>

#include <random>

#include "directory/nearest_search.h"
#include "support/directory_fixture.h"

namespace moltrevane {
namespace {

using testing::Row;

// The seven as "CALL LOC KM", from the index or from the scan of the file.
std::vector<std::string> Texts(const NearStations& seven) {
    std::vector<std::string> texts;
    for (const NearStation& s : seven) texts.push_back(s.call + " " + s.locator + " " + std::to_string(s.distanceKm));
    return texts;
}

std::vector<std::string> Scanned(GeoPoint own, const std::filesystem::path& file, const StationFilter& filter) {
    StationList list;
    NearestStations nearest;
    SearchNearest(own, StationDirectory(file), filter, list, nearest);
    std::vector<std::string> texts;
    for (const auto& [km, i] : nearest)
        if (i != kNoStation) texts.push_back(std::string(list.Call(i)) + " " + std::string(list.Locator(i)) + " " + std::to_string(km));
    return texts;
}

// Locators everywhere, crowded near the poles, on the antimeridian and on one spot, with
// letters past the grid's end ("S" … "Y" lie beyond the poles and round the world) and texts
// that are no locator at all.
std::string RandomLocator(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(12)) {
        case 0: return "";
        case 1: return "JN58";
        case 2: return "JN58SD";
        case 3: return std::string(65, 'J');  // too long to be a station's: the row takes no part
        default: break;
    }
    const int fieldLetters = pick(4) == 0 ? 25 : 18;
    std::string locator{static_cast<char>('A' + pick(fieldLetters)), static_cast<char>('A' + pick(fieldLetters))};
    if (pick(3) == 0) locator[1] = pick(2) ? 'R' : 'A';  // by a pole
    if (pick(4) == 0) locator[0] = pick(2) ? 'R' : 'A';  // by the antimeridian
    locator += {static_cast<char>('0' + pick(10)), static_cast<char>('0' + pick(10))};
    locator += {static_cast<char>('A' + pick(25)), static_cast<char>('A' + pick(25))};
    return locator;
}

GeoPoint RandomPlace(std::mt19937& random) {
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180), edge(0, 0.3);
    switch (random() % 5) {
        case 0: return {89.9 - edge(random), longitude(random)};
        case 1: return {latitude(random), 179.95 - edge(random)};
        case 2: return PositionFromLocator(RandomLocator(random));  // possibly past a pole
        default: return {latitude(random), longitude(random)};
    }
}

TEST(StationIndex, ListsWhatTheScanOfTheFileLists) {
    static constexpr const char* kFrequencies[] = {"145.6250", "438.9500", "1298.000", "10368.85", "3.650", "50.5", "", "x"};
    static constexpr const char* kModes[] = {"FM", "ATV", "Bake", "APRS", "Transponder", "SSB", "DMR/FM", "", "D-STAR", "YSF"};
    std::mt19937 random(7);
    const testing::TempFolder folder;
    for (int directory = 0; directory < 60; ++directory) {
        std::vector<Row> rows;
        const int calls = 1 + static_cast<int>(random() % 60);
        for (int n = static_cast<int>(random() % 400); n > 0; --n) {  // a call often has several rows
            Row row{"C" + std::to_string(random() % static_cast<unsigned>(calls)), RandomLocator(random)};
            if (random() % 20 == 0) row[1] = std::nullopt;
            row.resize(6);
            row[3] = kModes[random() % std::size(kModes)];
            row[5] = kFrequencies[random() % 8];
            rows.push_back(row);
        }
        const auto file = folder / ("d" + std::to_string(directory) + ".sqlite");
        testing::WriteDirectory(file, rows);
        const std::optional<StationIndex> index = StationIndex::Load(file);
        ASSERT_TRUE(index);
        for (int search = 0; search < 20; ++search) {
            StationFilter filter;
            if (search % 2) {
                for (bool& shown : filter.bands) shown = random() % 3 != 0;
                for (bool& shown : filter.types) shown = random() % 3 != 0;
                filter.modes = static_cast<VoiceModes>(random() % (kAllVoiceModes + 1));
            }
            const GeoPoint own = RandomPlace(random);
            SCOPED_TRACE(::testing::Message() << "directory " << directory << ", own " << own.latitude << " " << own.longitude);
            EXPECT_EQ(Texts(index->Nearest(own, filter)), Scanned(own, file, filter));
        }
    }
}

}  // namespace
}  // namespace moltrevane
