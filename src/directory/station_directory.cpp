#include "directory/station_directory.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "directory/known_texts.h"
#include "directory/station_kind.h"

namespace moltrevane {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// "file:" URI of the path; immutable: no journal, no -wal or -shm files beside it.
std::string ImmutableUri(const std::filesystem::path& file) {
    std::string uri = "file:";
    for (const char c : file.string()) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            uri += {'%', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

Database OpenReadOnly(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    sqlite3_hard_heap_limit64(kQueryMemoryLimit);
    sqlite3* db = nullptr;
    // One thread uses the connection from its open to its close, so it needs no locking.
    sqlite3_open_v2(ImmutableUri(file).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    Database opened(db);  // closed even when the open failed
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);  // sorts stay under the limit
    return opened;
}

// When a statement is to end early: past its time (an endless view would freeze the program
// for good), or given up by its caller.
struct StopWhen {
    std::chrono::steady_clock::time_point deadline;
    const std::atomic<bool>* cancelled;
};

int PastTheTimeLimit(void* when) {
    const auto& stop = *static_cast<const StopWhen*>(when);
    return std::chrono::steady_clock::now() > stop.deadline || (stop.cancelled && stop.cancelled->load());
}

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// A column's text up to its first zero byte, as C strings would have it (SQLite ends every
// text with one); NULL reads as "".
std::string_view ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string_view(text) : std::string_view();
}

bool DeliverRows(sqlite3_stmt* statement, const RowCallback& onRow) {
    std::vector<std::string_view> values;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        values.resize(static_cast<std::size_t>(std::max(sqlite3_column_count(statement), 0)));
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = ColumnText(statement, static_cast<int>(i));
        onRow(values);
    }
    return step == SQLITE_DONE;
}

// What the search's filter shows, each frequency and mode worked out once.
class ShownContext {
public:
    explicit ShownContext(const StationFilter& shown) : filter_(shown) {}
    bool BandShown(sqlite3_value* aus) {
        return bands_.Of(SizedTextOf(aus), [this](std::string_view text) { return filter_.ShowsBand(BandOf(text)); });
    }
    bool TypeShown(sqlite3_value* mode) {
        return types_.Of(TextOf(mode), [this](std::string_view text) { return filter_.ShowsType(TypeOf(text)); });
    }

private:
    static const char* TextOf(sqlite3_value* value) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return text ? text : "";
    }
    // Asked as a blob first, the size comes without a second look at the value.
    static std::string_view SizedTextOf(sqlite3_value* value) {
        const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
        return bytes ? std::string_view(bytes, static_cast<std::size_t>(sqlite3_value_bytes(value))) : std::string_view();
    }
    StationFilter filter_;
    KnownTexts<bool> bands_, types_;
};

// `station_hidden(…)` of the columns the filter reads (aus, mode, or both in that order): 1 for
// a row the filter hides, no value (NULL) for one it shows. Most rows are shown, and giving no
// value is the cheapest answer a function has; one function for each set of columns keeps the
// choice out of the rows.
template <bool ReadsBand, bool ReadsType>
void StationHidden(sqlite3_context* call, int, sqlite3_value** arguments) {
    auto& shown = *static_cast<ShownContext*>(sqlite3_user_data(call));
    if ((ReadsBand && !shown.BandShown(arguments[0])) || (ReadsType && !shown.TypeShown(arguments[ReadsBand])))
        sqlite3_result_int(call, 1);
}

// The columns a filter hands to `station_hidden`, with the function that reads them in that order.
struct HiddenCall {
    const char* columns;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
};
template <bool ReadsBand, bool ReadsType>
constexpr HiddenCall kHiddenCall{ReadsBand && ReadsType ? "aus, mode" : ReadsBand ? "aus" : "mode",
                                 StationHidden<ReadsBand, ReadsType>};
HiddenCall HiddenCallFor(const StationFilter& filter) {
    if (filter.ShowsAllBands()) return kHiddenCall<false, true>;
    return filter.ShowsAllTypes() ? kHiddenCall<true, false> : kHiddenCall<true, true>;
}

// The station list of a search that hides stations, asked before the sort so that hidden
// rows are never sorted.
std::string FilteredStationListStatement(const StationFilter& filter) {
    return std::string("SELECT call, loc FROM repeater WHERE station_hidden(") + HiddenCallFor(filter).columns +
           ") IS NULL ORDER BY call, loc";
}

}  // namespace

std::string CallStatement(std::string_view prefix, std::string_view callText) {
    const std::string_view call = callText.substr(0, callText.find('\0'));
    std::string statement(prefix);
    for (char c : call) {
        if (c == '\'') statement += '\'';
        statement += c;
    }
    statement += '\'';
    return statement;
}

StationDirectory::StationDirectory(std::filesystem::path file, std::chrono::milliseconds timeLimit,
                                   const std::atomic<bool>* cancelled)
    : file_(std::move(file)), timeLimit_(timeLimit), cancelled_(cancelled) {}

bool StationDirectory::RunQuery(std::string_view statement, const RowCallback& onRow) const {
    return Run(statement, onRow, nullptr);
}

bool StationDirectory::ListStations(const StationFilter& filter, const RowCallback& onRow) const {
    if (filter.ShowsAll()) return Run(kStationListStatement, onRow, nullptr);  // nothing to classify
    return Run(FilteredStationListStatement(filter), onRow, &filter);
}

bool StationDirectory::Run(std::string_view statement, const RowCallback& onRow, const StationFilter* filter) const {
    const Database db = OpenReadOnly(file_);
    if (!db) return false;
    std::unique_ptr<ShownContext> shown;  // kilobytes: made only for a search that filters
    if (filter) {
        shown = std::make_unique<ShownContext>(*filter);
        // Only the program's own statement may call it, never a view or trigger of the file.
        if (sqlite3_create_function(db.get(), "station_hidden", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                    shown.get(), HiddenCallFor(*filter).function, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    StopWhen stop{std::chrono::steady_clock::now() + timeLimit_, cancelled_};
    sqlite3_progress_handler(db.get(), 1000, PastTheTimeLimit, &stop);
    sqlite3_stmt* prepared = nullptr;
    const int status = sqlite3_prepare_v2(db.get(), statement.data(), static_cast<int>(statement.size()), &prepared, nullptr);
    const Statement owned(prepared);
    return status == SQLITE_OK && owned && DeliverRows(owned.get(), onRow);
}

CallLookupResult StationDirectory::LookupCall(std::string_view callText) const {
    CallLookupResult result;
    const bool ran = RunQuery(CallStatement(kLookupPrefix, callText), [&](RowValues row) {
        if (row.size() < 2) return;
        result.found = true;
        result.lookupText = ShownValue(row[0]) + " - " + ShownValue(row[1]);
    });
    return ran ? result : CallLookupResult{};
}

std::string StationDirectory::ChannelOf(std::string_view callText) const {
    std::string channel;
    const bool ran = RunQuery(CallStatement(kChannelPrefix, callText), [&](RowValues row) {
        if (row.size() >= 3) channel = ShownValue(ChannelText(row[0], row[1], row[2]));
    });
    return ran ? channel : std::string();
}

std::string ShownValue(std::string_view utf8) {
    if (utf8.size() <= kShownValueLimit) return std::string(utf8);
    std::size_t cut = kShownValueLimit;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    return std::string(utf8.substr(0, cut)) + "\u2026";
}

}  // namespace moltrevane
