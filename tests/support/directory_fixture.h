// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Station directories written row by row for a test.

#include <sqlite3.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "directory/station_directory.h"
#include "support/temp_folder.h"

namespace moltrevane::testing {

using Row = std::vector<std::optional<std::string>>;  // up to twelve columns call … rem2, lat, lon; nullopt is NULL

inline void WriteDirectory(const std::filesystem::path& file, const std::vector<Row>& rows,
                           const std::string& encoding = "UTF-8") {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, ("PRAGMA encoding='" + encoding + "'").c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, kCreateRepeaterTable, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);  // one sync for all rows
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO repeater VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < 12; ++i) {
            const int column = static_cast<int>(i) + 1;
            if (i < row.size() && row[i])
                sqlite3_bind_text(insert, column, row[i]->data(), static_cast<int>(row[i]->size()), SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(insert, column);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error("insert failed");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace moltrevane::testing
