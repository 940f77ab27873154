// Any call text into the statements: one string literal, holding exactly the call text
// as it is cut, and SQLite reads the statement the same way.
#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "directory/station_directory.h"
#include "directory_fixture.h"
#include "fuzz_check.h"

namespace {

using namespace moltrevane;

// The call text as the statement carries it: up to its first zero byte.
std::string_view CutCall(std::string_view text) { return text.substr(0, text.find('\0')); }

// The value of the literal that opens the text, or nothing when it is not closed
// or anything follows it.
bool DecodeOnlyLiteral(std::string_view text, std::string& value) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\'') {
            value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\'') {
            value += '\'';
            ++i;
        } else {
            return i + 1 == text.size();
        }
    }
    return false;
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

// SQLite's own reading: one statement, and its WHERE clause matches the call text itself.
void CheckWithSqlite(const std::string& statement, std::string_view call) {
    static const std::unique_ptr<sqlite3, CloseDatabase> db = [] {
        sqlite3* handle = nullptr;
        sqlite3_open(":memory:", &handle);
        sqlite3_exec(handle, moltrevane::kCreateRepeaterTable, nullptr, nullptr, nullptr);
        return std::unique_ptr<sqlite3, CloseDatabase>(handle);
    }();
    sqlite3_exec(db.get(), "DELETE FROM repeater", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db.get(), "INSERT INTO repeater (call, loc, qth) VALUES (?, 'JN58SD', 'here')", -1, &insert,
                       nullptr);
    sqlite3_bind_text(insert, 1, call.data(), static_cast<int>(call.size()), SQLITE_TRANSIENT);
    FUZZ_CHECK(sqlite3_step(insert) == SQLITE_DONE);
    sqlite3_finalize(insert);

    sqlite3_stmt* query = nullptr;
    const char* tail = nullptr;
    FUZZ_CHECK(sqlite3_prepare_v2(db.get(), statement.c_str(), -1, &query, &tail) == SQLITE_OK);
    FUZZ_CHECK(*tail == '\0');
    int rows = 0;
    while (sqlite3_step(query) == SQLITE_ROW) ++rows;
    sqlite3_finalize(query);
    FUZZ_CHECK(rows == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view callText(reinterpret_cast<const char*>(data), size);
    const std::string_view call = CutCall(callText);
    for (const std::string_view prefix : {kLookupPrefix, kDetailsPrefix}) {
        const std::string statement = CallStatement(prefix, callText);
        FUZZ_CHECK(statement.starts_with(prefix));
        std::string value;
        FUZZ_CHECK(DecodeOnlyLiteral(std::string_view(statement).substr(prefix.size()), value));
        FUZZ_CHECK(value == call);
        CheckWithSqlite(statement, call);
    }
    return 0;
}
