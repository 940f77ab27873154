// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_directory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>

#include "directory/station_index.h"
#include "directory/station_record.h"
#include "support/directory_fixture.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

using testing::Row;
using testing::TempFolder;

class StationDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteDirectory(file, {
            Row{"DB0ABC", "JN58SD", "520", "FM", "Muenchen", "439.100", "431.500", "RU692", "Echolink", "demo"},
            Row{"DB0DUP", "JO62QM", "40", "FM", "Berlin", "145.600", "145.000", "", "88.5"},
            Row{"DB0DUP", "JN58TD", "600", "DMR", "Freising"},
            Row{"DB0SHT", "JN5", "1", "FM", "Kurzort"},
            Row{"DB0NUL", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
            Row{"", "JJ00AA", "", "", "Nowhere"},
            Row{"DB0CR", "JN48FX", "300", "FM", "Stutt\rgart", "", "", "", "", ""},
            Row{"O'HARE", "EN61AX", "200", "FM", "Chicago's"},
        });
    }
    TempFolder folder;
    std::filesystem::path file = folder / "Moltrevane.sqlite";
    StationDirectory directory{file};
};

// For each key the whole row found, "-" for none, and the record listed of it, in
// golden/lookups.expected: the call's first row, or its one at the locator given, of those the
// filter shows; five lines per row, a NULL remark as three blanks still listed, the access tone
// said for what it is, a value holding a carriage return going on in a line of its own; typed
// text finds nothing, whatever SQL it holds.
TEST_F(StationDirectoryTest, EachKeyFindsItsExactCallsFirstRowAndListsItsRecord) {
    StationFilter onlyFm;
    onlyFm.types.fill(false);
    onlyFm.types[static_cast<std::size_t>(StationType::RepeaterFm)] = true;
    StationFilter noDmr = onlyFm;  // DMR is a repeater type too: hidden with every type but Bake
    noDmr.types[static_cast<std::size_t>(StationType::RepeaterFm)] = false;
    noDmr.types[static_cast<std::size_t>(StationType::Beacon)] = true;
    const std::vector<StationKey> keys = {{"DB0ABC"}, {"db0abc"}, {""}, {"DB0DUP"}, {"DB0DUP", "JO62QM"}, {"DB0DUP", "JO62QX"},
                                          {"DB0SHT"}, {"DB0NUL"}, {"O'HARE"}, {"DB0DUP", std::nullopt, onlyFm},
                                          {"DB0DUP", std::nullopt, noDmr}, {"DB0CR"}, {"NOBODY"}, {"DB0ABC"},
                                          // typed text cannot change the statement or the file; a zero byte ends a typed call
                                          {"' OR '1'='1"}, {"x'; DROP TABLE repeater; --"}, {"'"}, {std::string("ZZ9\0' OR '1'='1", 15)},
                                          {"\xFF\xFE'"}, {std::string(1000, '\'')}, {std::string("DB0ABC\0' OR '1'='1", 18)}};
    const std::string before = testing::ReadFile(file);
    const std::vector<std::optional<StoredRow>> rows = directory.LookupRows(keys);  // one press's look-ups
    std::string text;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        text += "== " + std::to_string(k) + ": " + testing::Escaped(keys[k].call) + (keys[k].locator ? " at " + *keys[k].locator : "") + "\n";
        std::string row = rows[k] ? "" : "-";
        if (rows[k])
            for (const std::string& value : *rows[k]) row += value + "|";
        std::ranges::replace(row, '\r', '~');  // kept out of the golden text
        text += row + "\n";
        for (const std::string& line : StationRecordLines(directory, keys[k])) text += line + "\n";
    }
    testing::ExpectGolden(std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/directory/golden/lookups.expected", text);
    EXPECT_EQ(testing::ReadFile(file), before);
}

// A writer in the middle of a transaction does not stop reading; a look-up after the file was
// replaced or removed reads what is there now.
TEST_F(StationDirectoryTest, ALookUpReadsWhatIsCommittedThereNow) {
    sqlite3* writer = nullptr;
    sqlite3_open(file.c_str(), &writer);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; INSERT INTO repeater (call) VALUES ('DB0NEW')", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(directory.LookupRow({"DB0ABC"}));
    EXPECT_FALSE(directory.LookupRow({"DB0NEW"}));  // not committed
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    testing::WriteDirectory(folder / "new.sqlite", {Row{"DB0NEW", "JO62QM"}});
    std::filesystem::rename(folder / "new.sqlite", file);  // as an import puts its directory in place
    EXPECT_TRUE(directory.LookupRow({"DB0NEW"}));
    EXPECT_FALSE(directory.LookupRow({"DB0ABC"}));
    std::filesystem::remove(file);
    EXPECT_FALSE(directory.LookupRow({"DB0NEW"}));
}

// A missing file (never created), text, a file without the table, a FIFO (which would block in
// open()), a folder, and a view without end (which finds C1, then runs on past the time limit)
// all look like a failed query without rows; a file that is no directory is no index either.
TEST(StationDirectoryFailures, BrokenFilesLookLikeNoRows) {
    TempFolder folder;
    testing::WriteFile(folder / "text.sqlite", "this is not a database at all, just some text\n");
    ASSERT_EQ(::mkfifo((folder / "fifo.sqlite").c_str(), 0600), 0);
    for (const auto& [name, statement] : {std::pair{"other.sqlite", "CREATE TABLE other (x TEXT)"},
                                          std::pair{"endless.sqlite",
                                                    "CREATE VIEW repeater AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                                    "SELECT printf('C%d', i) AS call, 'JN58SD' AS loc, '' AS asl, '' AS mode, '' AS qth, "
                                                    "'' AS aus, '' AS ein, '' AS kanal, '' AS rem1, '' AS rem2 FROM n"}}) {
        sqlite3* db = nullptr;
        sqlite3_open((folder / name).c_str(), &db);
        sqlite3_exec(db, statement, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    for (const char* name : {"missing.sqlite", "text.sqlite", "other.sqlite", "fifo.sqlite", "", "endless.sqlite"}) {
        const StationDirectory directory(folder / name, std::chrono::milliseconds(300));
        int rows = 0;
        EXPECT_FALSE(directory.RunQuery(kStationListStatement, [&](RowValues) { ++rows; })) << name;
        EXPECT_EQ(rows, 0) << name;
        EXPECT_FALSE(directory.LookupRow({"C1"})) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite"));
    EXPECT_FALSE(StationIndex::Load(folder / "text.sqlite"));
}

// Under a HOME of some 470 bytes, past SQLite's path limit, a directory is read; its huge
// values are shown cut at a character boundary.
TEST(StationDirectoryFailures, AFilePastSqlitesPathLimitIsReadAndHugeValuesAreShownCut) {
    TempFolder folder;
    std::filesystem::path deep = folder.path();
    while (deep.string().size() < 600) deep /= std::string(100, 'd');
    std::filesystem::create_directories(deep);
    const std::string umlauts = std::string(kShownValueLimit - 1, 'a') + "\u00FC\u00FC";
    testing::WriteDirectory(folder / "huge.sqlite", {Row{"DB0BIG", umlauts, "1", std::string(262144, 'm'), "Ort"}});
    std::filesystem::rename(folder / "huge.sqlite", deep / "Moltrevane.sqlite");
    const StationDirectory directory(deep / "Moltrevane.sqlite");
    ASSERT_TRUE(directory.LookupRow({"DB0BIG"}));
    EXPECT_EQ(ShownValue((*directory.LookupRow({"DB0BIG"}))[1]), std::string(kShownValueLimit - 1, 'a') + "\u2026");
    const std::vector<std::string> lines = StationRecordLines(directory, {"DB0BIG"});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_LT(lines[0].size(), 1000u);
}

}  // namespace
}  // namespace moltrevane
