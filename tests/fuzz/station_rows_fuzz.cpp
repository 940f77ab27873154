// A directory of arbitrary rows (NULLs, long values, carriage returns, bad locators): the
// listing keeps every value as a screen shows it, and the nearest-station search stays
// ordered and in bounds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "directory/nearest_search.h"
#include "directory/station_record.h"
#include "directory_fixture.h"
#include "fuzz_check.h"

namespace {

using namespace moltrevane;
using moltrevane::testing::Row;

std::vector<Row> RandomRows(FuzzedDataProvider& input) {
    std::vector<Row> rows(input.ConsumeIntegralInRange(0, 12));
    for (Row& row : rows)
        for (int column = 0; column < 10; ++column) {
            if (input.ConsumeBool())
                row.emplace_back(std::nullopt);
            else
                row.emplace_back(input.ConsumeRandomLengthString(column < 2 ? 12 : 4000));
        }
    return rows;
}

// What the database hands back for a value: text up to its first zero byte, NULL as "".
std::string Delivered(const std::optional<std::string>& value) {
    return value ? value->substr(0, value->find('\0')) : std::string();
}

void CheckListing(const StationDirectory& directory, const std::vector<Row>& rows) {
    if (rows.empty()) return;
    const std::string call = Delivered(rows[0][0]);
    if (call.find('\'') != std::string::npos) return;  // quoting has its own target
    std::size_t expectedLines = 0;
    std::vector<std::string> values;
    for (const Row& row : rows) {
        if (!row[0] || *row[0] != call) continue;
        expectedLines += 5;
        for (const auto& value : row) {
            values.push_back(ShownValue(Delivered(value)));
            expectedLines += static_cast<std::size_t>(std::count(values.back().begin(), values.back().end(), '\r'));
        }
    }
    const std::vector<std::string> lines = StationRecordLines(directory, call);
    FUZZ_CHECK(lines.size() == expectedLines);
    std::string listing;
    for (const std::string& line : lines) listing.append(line).append("\r");
    for (const std::string& value : values) FUZZ_CHECK(listing.find(value) != std::string::npos);
}

void CheckNearest(AppState& state, const StationDirectory& directory) {
    StationList list;
    NearestStations nearest;
    const bool ownPosition = IsValidLocator(LocatorView(state.offlineLocator));  // else there is none
    if (ownPosition) SearchNearest(PositionFromLocator(LocatorView(state.offlineLocator)), directory, StationFilter{}, list, nearest);
    std::set<std::string_view> calls;
    for (std::size_t i = 0; i < list.Count(); ++i) FUZZ_CHECK(calls.insert(list.Call(i)).second);
    std::size_t usable = 0;
    if (ownPosition)
        for (std::size_t i = 0; i < list.Count(); ++i) usable += IsValidLocator(list.Locator(i));
    for (std::size_t r = 0; r < nearest.size(); ++r) {
        const NearestEntry& entry = nearest[r];
        const bool filled = r < usable;
        FUZZ_CHECK((entry.stationIndex != kNoStation) == filled);
        if (!filled) {
            FUZZ_CHECK(entry.distanceKm == kUnfilledDistance);
            continue;
        }
        FUZZ_CHECK(static_cast<std::size_t>(entry.stationIndex) < list.Count());
        FUZZ_CHECK(IsValidLocator(list.Locator(static_cast<std::size_t>(entry.stationIndex))));
        FUZZ_CHECK(entry.distanceKm >= 0 && entry.distanceKm < 20100);
        if (r > 0) FUZZ_CHECK(nearest[r - 1].distanceKm <= entry.distanceKm);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const moltrevane::testing::TempFolder folder;
    const auto file = folder / "Moltrevane.sqlite";
    FuzzedDataProvider input(data, size);
    AppState state;
    state.offlineLocator = ToLocatorText(input.ConsumeBytesAsString(6));
    const std::vector<Row> rows = RandomRows(input);
    std::filesystem::remove(file);
    moltrevane::testing::WriteDirectory(file, rows);

    const StationDirectory directory(file);
    CheckListing(directory, rows);
    CheckNearest(state, directory);
    return 0;
}
