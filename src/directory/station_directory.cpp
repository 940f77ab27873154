// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_directory.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <system_error>
#include <string>
#include <utility>
#include <vector>

#include "directory/known_texts.h"

namespace moltrevane {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// SQLite makes a file's name its full path, links resolved, and gives up past 512 bytes: a HOME
// of some 470 bytes would leave the station list empty. So the file is opened by a short name,
// /proc/self/fd/N/NAME with N a descriptor of its folder, through the default VFS but with
// names taken as they are.
int NameAsGiven(sqlite3_vfs*, const char* name, int size, char* fullName) {
    return std::snprintf(fullName, static_cast<std::size_t>(size), "%s", name) < size ? SQLITE_OK : SQLITE_CANTOPEN;
}

const char* ShortNameVfs() {
    static sqlite3_vfs vfs = [] {
        sqlite3_vfs named = *sqlite3_vfs_find(nullptr);
        named.zName = "moltrevane-short-names";
        named.xFullPathname = NameAsGiven;
        return named;
    }();
    static const bool registered = sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
    return registered ? vfs.zName : nullptr;
}

// A name as a URI's path holds it.
std::string UriText(std::string_view name) {
    std::string uri;
    for (const char c : name) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            uri += {'%', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            uri += c;
        }
    }
    return uri;
}

// A folder's descriptor, open while SQLite opens a file in it.
struct OpenFolder {
    explicit OpenFolder(const std::filesystem::path& folder)
        : fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}  // a folder one may enter but not list
    ~OpenFolder() {
        if (fd >= 0) ::close(fd);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    const int fd;
};

Database OpenReadOnly(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(file, error);  // SQLite opens no link
    if (error) return {};
    const OpenFolder folder(real.parent_path());
    struct stat info {};
    if (folder.fd < 0 || ::fstatat(folder.fd, real.filename().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode))
        return {};
    sqlite3_hard_heap_limit64(kQueryMemoryLimit);
    // Immutable: no journal, no -wal or -shm files beside it. One thread uses the connection
    // from its open to its close, so it needs no locking.
    const std::string uri =
        "file:/proc/self/fd/" + std::to_string(folder.fd) + "/" + UriText(real.filename().string()) + "?immutable=1";
    sqlite3* db = nullptr;
    sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, ShortNameVfs());
    Database database(db);  // closed even when the open failed
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);  // sorts stay under the limit
    return database;
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
    const StationFilter& Filter() const { return filter_; }
    bool BandShown(sqlite3_value* aus) {
        return bands_.Of(SizedTextOf(aus), [this](std::string_view text) { return filter_.ShowsBand(BandOf(text)); });
    }
    bool TypeShown(sqlite3_value* mode) {
        return types_.Of(TextOf(mode), [this](std::string_view text) {
            return filter_.ShowsType(TypeOf(text)) && filter_.ShowsModes(ModesOf(text));
        });
    }

private:
    static const char* TextOf(sqlite3_value* value) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return text ? text : "";
    }
    // As UTF-8 text, whatever the file's encoding: a UTF-16 file's bytes are no frequency.
    static std::string_view SizedTextOf(sqlite3_value* value) {
        const auto* utf8 = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return utf8 ? std::string_view(utf8, static_cast<std::size_t>(sqlite3_value_bytes(value))) : std::string_view();
    }
    StationFilter filter_;
    KnownTexts<bool> bands_, types_;
};

// `station_hidden(…)` of the columns the filter reads (aus, mode, or both in that order): 1 for
// a row the filter hides, no value (NULL) for one it shows. Most rows are shown, and giving no
// value is the cheapest answer a function has; one function for each set of columns keeps the
// choice out of the rows.
template <bool ReadsBand, bool ReadsType>
void StationHidden(sqlite3_context* call, int, sqlite3_value** arguments, ShownContext& shown) {
    if ((ReadsBand && !shown.BandShown(arguments[0])) || (ReadsType && !shown.TypeShown(arguments[ReadsBand])))
        sqlite3_result_int(call, 1);
}
template <bool ReadsBand, bool ReadsType>
void StationHidden(sqlite3_context* call, int count, sqlite3_value** arguments) {
    StationHidden<ReadsBand, ReadsType>(call, count, arguments, *static_cast<ShownContext*>(sqlite3_user_data(call)));
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

// One row of a call: the first by locator, then by its other columns, so that every look-up of
// a key picks the same row; ?3 is 1 when the key's filter shows every station.
std::string LookupStatement(std::string_view siteColumns) {
    return "SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2, " + std::string(siteColumns) +
           " FROM repeater WHERE call = ?1 AND (?2 IS NULL OR loc = ?2) AND (?3 OR station_hidden(aus, mode) IS NULL) "
           "ORDER BY loc, aus, ein, mode, qth, asl, kanal, rem1, rem2 LIMIT 1";
}

// `station_hidden(aus, mode)` of a look-up, by the filter of the key being looked up.
void LookupHidden(sqlite3_context* call, int count, sqlite3_value** arguments) {
    auto& shown = *static_cast<std::optional<ShownContext>*>(sqlite3_user_data(call));
    StationHidden<true, true>(call, count, arguments, *shown);
}

// The file a look-up reads, as the folder holds it now.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    off_t size;
    std::int64_t modifiedNanoseconds;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino, info.st_size,
                        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

}  // namespace

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

std::string_view StationDirectory::SiteColumns() const {
    const std::string probe = "SELECT " + std::string(kSiteColumns) + " FROM repeater LIMIT 0";
    return RunQuery(probe, [](RowValues) {}) ? kSiteColumns : kNoSiteColumns;
}

struct StationDirectory::LookupConnection {
    FileIdentity identity;
    Database db;  // declared before the statement, finalized first
    Statement statement;
    std::optional<ShownContext> shown;  // of the key being looked up
    StopWhen stop;
};

StationDirectory::~StationDirectory() = default;
StationDirectory::StationDirectory(StationDirectory&&) noexcept = default;

StationDirectory::LookupConnection* StationDirectory::Connected() const {
    const std::optional<FileIdentity> identity = IdentityOf(file_);
    if (lookups_ && identity && lookups_->identity == *identity) return lookups_.get();
    lookups_.reset();
    if (!identity) return nullptr;
    auto fresh = std::make_unique<LookupConnection>();
    fresh->identity = *identity;
    fresh->db = OpenReadOnly(file_);
    if (!fresh->db || sqlite3_create_function(fresh->db.get(), "station_hidden", 2, SQLITE_UTF8 | SQLITE_DIRECTONLY,
                                              &fresh->shown, LookupHidden, nullptr, nullptr) != SQLITE_OK)
        return nullptr;
    sqlite3_progress_handler(fresh->db.get(), 1000, PastTheTimeLimit, &fresh->stop);
    sqlite3_stmt* prepared = nullptr;
    for (const std::string_view site : {kSiteColumns, kNoSiteColumns})
        if (!prepared) sqlite3_prepare_v2(fresh->db.get(), LookupStatement(site).c_str(), -1, &prepared, nullptr);
    fresh->statement.reset(prepared);
    if (!fresh->statement) return nullptr;
    lookups_ = std::move(fresh);
    return lookups_.get();
}

std::vector<std::optional<StoredRow>> StationDirectory::LookupRows(std::span<const StationKey> keys) const {
    std::vector<std::optional<StoredRow>> rows(keys.size());
    LookupConnection* connection = keys.empty() ? nullptr : Connected();
    if (!connection) return rows;
    connection->stop = {std::chrono::steady_clock::now() + timeLimit_, cancelled_};
    sqlite3_stmt* statement = connection->statement.get();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const StationKey& key = keys[i];
        if (!connection->shown || !(connection->shown->Filter() == key.shown)) connection->shown.emplace(key.shown);
        const std::string_view call = std::string_view(key.call).substr(0, key.call.find('\0'));
        sqlite3_bind_text(statement, 1, call.data(), static_cast<int>(call.size()), SQLITE_TRANSIENT);
        if (key.locator) sqlite3_bind_text(statement, 2, key.locator->data(), static_cast<int>(key.locator->size()), SQLITE_TRANSIENT);
        else sqlite3_bind_null(statement, 2);
        sqlite3_bind_int(statement, 3, key.shown.ShowsAll() ? 1 : 0);
        if (sqlite3_step(statement) == SQLITE_ROW) {
            StoredRow& row = rows[i].emplace();
            for (std::size_t c = 0; c < row.size(); ++c) row[c] = ColumnText(statement, static_cast<int>(c));
        }
        sqlite3_reset(statement);
    }
    return rows;
}

std::string ShownValue(std::string_view utf8) {
    if (utf8.size() <= kShownValueLimit) return std::string(utf8);
    std::size_t cut = kShownValueLimit;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    return std::string(utf8.substr(0, cut)) + "\u2026";
}

}  // namespace moltrevane
