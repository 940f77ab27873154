#pragma once
// Read-only access to the station directory: every query opens the file, runs one
// statement with a per-row callback and closes the file again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

struct CallLookupResult {
    bool found = false;
    std::string lookupText;  // loc + " - " + qth
    std::string channel;     // of the same row, see ChannelText
};

// The table the program reads; tools and tests that write directories create it from this.
inline constexpr const char* kCreateRepeaterTable =
    "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, "
    "kanal TEXT, rem1 TEXT, rem2 TEXT)";
// The index a directory should have: it holds every column the station list reads, filtered or
// not, so the list is read in order without the table, and a call's lookup finds its rows.
// Mode comes before aus: the later column costs SQLite more to reach in every row, and a
// frequency, read by its size, costs the filter less than a mode.
inline constexpr const char* kCreateStationIndex = "CREATE INDEX repeater_call_loc ON repeater (call, loc, mode, aus)";

inline constexpr std::chrono::milliseconds kQueryTimeLimit{3000};
inline constexpr std::int64_t kQueryMemoryLimit = 256 << 20;  // bytes, all of SQLite's

inline constexpr std::string_view kStationListStatement = "SELECT call, loc FROM repeater ORDER BY call, loc";
inline constexpr std::string_view kLookupPrefix = "SELECT loc, qth, aus, ein, mode FROM repeater WHERE call='";
inline constexpr std::string_view kDetailsPrefix =
    "SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2 FROM repeater WHERE call='";

// A value of the directory as a screen shows it: at most kShownValueLimit bytes, cut at a
// character boundary and marked with "…". The directory is outside input, and a value of a
// few hundred kilobytes would make the toolkit's drawing request fail and end the program.
inline constexpr std::size_t kShownValueLimit = 300;
std::string ShownValue(std::string_view utf8);

// prefix + the call text (cut at its first zero byte, every quote doubled) + the closing
// quote, so no text can leave the string literal.
std::string CallStatement(std::string_view prefix, std::string_view callText);

class StationDirectory {
public:
    // `timeLimit` is kQueryTimeLimit but where a run is meant to be slow (a profiler) or quick.
    // A statement also ends, as a failed one, once `cancelled` is set.
    explicit StationDirectory(std::filesystem::path file, std::chrono::milliseconds timeLimit = kQueryTimeLimit,
                              const std::atomic<bool>* cancelled = nullptr);

    // Reads only: the folder is left exactly as it was, whatever the journal mode. A file that
    // is not a regular one (a FIFO would block), a missing table, a failed statement and a
    // statement that runs past the time limit or the memory limit all look like no rows.
    // True when the statement ran to its end: rows handed over before a failure are to be dropped.
    bool RunQuery(std::string_view statement, const RowCallback& onRow) const;

    // The station list's rows (call, loc) of the stations the filter shows, sorted.
    bool ListStations(const StationFilter& filter, const RowCallback& onRow) const;

    // The statement `prefix` + the key's conditions, run on the key's row.
    bool QueryStation(std::string_view prefix, const StationKey& station, const RowCallback& onRow) const;

    const std::filesystem::path& File() const { return file_; }

    // The locator, place and channel of the key's row.
    CallLookupResult LookupCall(const StationKey& station) const;

private:
    bool Run(std::string_view statement, const RowCallback& onRow, const StationFilter* filter) const;

    std::filesystem::path file_;
    std::chrono::milliseconds timeLimit_;
    const std::atomic<bool>* cancelled_;
};

}  // namespace moltrevane
