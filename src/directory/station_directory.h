// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Read-only access to the station directory: every query opens the file, runs its statement
// and closes the file again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "directory/station.h"
#include "directory/station_kind.h"

namespace moltrevane {

// Column values of one row in the order of the statement's column list; NULL reads as "".
using RowValues = std::span<const std::string_view>;
using RowCallback = std::function<void(RowValues)>;

// One row of a call: the first by locator (then by its other columns, so that every look-up
// of the key picks the same row) among those at `locator`, if given, that `shown` shows. The
// search measures the first row of each call it shows: its key names that row.
struct StationKey {
    std::string call;
    std::optional<std::string> locator{};
    StationFilter shown{};
};

// The table the program reads; tools and tests that write directories create it from this.
inline constexpr const char* kCreateRepeaterTable =
    "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, "
    "kanal TEXT, rem1 TEXT, rem2 TEXT, lat TEXT, lon TEXT)";
// The site's columns as a statement reads them: a directory made before they were kept (or by
// hand) has none, and reads as one whose every site is unknown.
inline constexpr std::string_view kSiteColumns = "lat, lon", kNoSiteColumns = "'' AS lat, '' AS lon";
// The index a directory should have: it holds every column the station list reads, filtered or
// not, so the list is read in order without the table, and a call's lookup finds its rows.
// Mode comes before aus: the later column costs SQLite more to reach in every row, and a
// frequency, read by its size, costs the filter less than a mode.
inline constexpr const char* kCreateStationIndex = "CREATE INDEX repeater_call_loc ON repeater (call, loc, mode, aus)";

inline constexpr std::chrono::milliseconds kQueryTimeLimit{3000};
inline constexpr std::int64_t kQueryMemoryLimit = 256 << 20;  // bytes, all of SQLite's

inline constexpr std::string_view kStationListStatement = "SELECT call, loc FROM repeater ORDER BY call, loc";

// A value of the directory as a screen shows it: at most kShownValueLimit bytes, cut at a
// character boundary and marked with "…". The directory is outside input, and a value of a
// few hundred kilobytes would make the toolkit's drawing request fail and end the program.
inline constexpr std::size_t kShownValueLimit = 300;
std::string ShownValue(std::string_view utf8);

class StationDirectory {
public:
    // `timeLimit` is kQueryTimeLimit but where a run is meant to be slow (a profiler) or quick.
    // A statement also ends, as a failed one, once `cancelled` is set.
    explicit StationDirectory(std::filesystem::path file, std::chrono::milliseconds timeLimit = kQueryTimeLimit,
                              const std::atomic<bool>* cancelled = nullptr);
    ~StationDirectory();
    StationDirectory(StationDirectory&&) noexcept;

    // Reads only: the folder is left exactly as it was, whatever the journal mode. A file that
    // is not a regular one (a FIFO would block), a missing table, a failed statement and a
    // statement that runs past the time limit or the memory limit all look like no rows.
    // True when the statement ran to its end: rows handed over before a failure are to be dropped.
    bool RunQuery(std::string_view statement, const RowCallback& onRow) const;

    // The station list's rows (call, loc) of the stations the filter shows, sorted.
    bool ListStations(const StationFilter& filter, const RowCallback& onRow) const;

    const std::filesystem::path& File() const { return file_; }

    // kSiteColumns when the table has them, else kNoSiteColumns.
    std::string_view SiteColumns() const;

    // Each key's row, as stored; nothing for a key the directory has no row of (or when the
    // directory cannot be read). One connection and one prepared statement serve every key,
    // with the call (cut at its first zero byte) and locator bound as values: typed text never
    // becomes part of a statement. The connection is kept for the next look-ups for as long as
    // the file is the same one (an import renames a new one into place): a press then costs
    // no open and no reading of the schema. One thread at a time uses an object.
    std::vector<std::optional<StoredRow>> LookupRows(std::span<const StationKey> keys) const;
    std::optional<StoredRow> LookupRow(const StationKey& key) const { return LookupRows({&key, 1})[0]; }

private:
    struct LookupConnection;
    bool Run(std::string_view statement, const RowCallback& onRow, const StationFilter* filter) const;
    LookupConnection* Connected() const;

    std::filesystem::path file_;
    std::chrono::milliseconds timeLimit_;
    const std::atomic<bool>* cancelled_;
    mutable std::unique_ptr<LookupConnection> lookups_;
};

}  // namespace moltrevane
