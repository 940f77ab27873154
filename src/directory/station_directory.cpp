#include "directory/station_directory.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace moltrevane {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database OpenReadOnly(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    return Database(db);  // closed even when the open failed
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

void StationDirectory::RunQuery(std::string_view statement, const RowCallback& onRow) const {
    const Database db = OpenReadOnly(file_);
    if (!db) return;
    QueryContext context{onRow, {}};
    const std::string text(statement);
    sqlite3_exec(db.get(), text.c_str(), DeliverRow, &context, nullptr);
}

CallLookupResult StationDirectory::LookupCall(std::string_view callText) const {
    CallLookupResult result;
    RunQuery(CallStatement(kLookupPrefix, callText), [&](RowValues row) {
        if (row.size() < 2) return;
        result.found = true;
        result.lookupText.assign(row[0]).append(" - ").append(row[1]);
    });
    return result;
}

}  // namespace moltrevane
