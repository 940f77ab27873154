#include "directory/station_directory.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

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
    sqlite3_open_v2(ImmutableUri(file).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    Database opened(db);  // closed even when the open failed
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);  // sorts stay under the limit
    return opened;
}

// Ends a statement that runs too long: an endless view would freeze the program for good.
int PastTheTimeLimit(void* deadline) {
    return std::chrono::steady_clock::now() > *static_cast<std::chrono::steady_clock::time_point*>(deadline);
}

struct QueryContext {
    const RowCallback& onRow;
    std::vector<std::string_view> values;
};

int DeliverRow(void* context, int columnCount, char** values, char**) {
    auto& query = *static_cast<QueryContext*>(context);
    query.values.assign(static_cast<std::size_t>(std::max(columnCount, 0)), std::string_view());
    for (int i = 0; i < columnCount; ++i)
        if (values[i]) query.values[static_cast<std::size_t>(i)] = values[i];
    query.onRow(query.values);
    return 0;
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

StationDirectory::StationDirectory(std::filesystem::path file) : file_(std::move(file)) {}

bool StationDirectory::RunQuery(std::string_view statement, const RowCallback& onRow) const {
    const Database db = OpenReadOnly(file_);
    if (!db) return false;
    QueryContext context{onRow, {}};
    auto deadline = std::chrono::steady_clock::now() + kQueryTimeLimit;
    sqlite3_progress_handler(db.get(), 1000, PastTheTimeLimit, &deadline);
    const std::string text(statement);
    return sqlite3_exec(db.get(), text.c_str(), DeliverRow, &context, nullptr) == SQLITE_OK;
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
