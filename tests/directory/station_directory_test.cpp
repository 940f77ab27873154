#include "directory/station_directory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "directory/station_record.h"
#include "support/directory_fixture.h"

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

// The locator and place of the row found for each key, "-" for none.
std::vector<std::string> Found(const StationDirectory& directory, const std::vector<StationKey>& keys) {
    std::vector<std::string> found;
    for (const std::optional<StoredRow>& row : directory.LookupRows(keys)) found.push_back(row ? (*row)[1] + " " + (*row)[4] : "-");
    return found;
}

TEST_F(StationDirectoryTest, EachKeyFindsItsExactCallsFirstRow) {
    StationFilter onlyFm;
    onlyFm.types.fill(false);
    onlyFm.types[static_cast<std::size_t>(StationType::RepeaterFm)] = true;
    StationFilter noDmr = onlyFm;  // DMR is a repeater type too: hidden with every type but Bake
    noDmr.types[static_cast<std::size_t>(StationType::RepeaterFm)] = false;
    noDmr.types[static_cast<std::size_t>(StationType::Beacon)] = true;
    EXPECT_EQ(Found(directory, {{"DB0ABC"}, {"db0abc"}, {""}, {"DB0DUP"}, {"DB0DUP", "JO62QM"}, {"DB0DUP", "JO62QX"},
                                {"DB0SHT"}, {"DB0NUL"}, {"O'HARE"}, {"DB0DUP", std::nullopt, onlyFm},
                                {"DB0DUP", std::nullopt, noDmr}, {"DB0ABC"}}),
              (std::vector<std::string>{"JN58SD Muenchen", "-", "JJ00AA Nowhere", "JN58TD Freising", "JO62QM Berlin", "-",
                                        "JN5 Kurzort", " ", "EN61AX Chicago's", "JN58TD Freising", "-",
                                        "JN58SD Muenchen"}));
    const std::optional<StoredRow> whole = directory.LookupRow({"DB0ABC"});
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, (StoredRow{"DB0ABC", "JN58SD", "520", "FM", "Muenchen", "439.100", "431.500", "RU692", "Echolink", "demo"}));
}

TEST_F(StationDirectoryTest, ALookUpAfterTheFileWasReplacedOrRemovedReadsWhatIsThereNow) {
    ASSERT_TRUE(directory.LookupRow({"DB0ABC"}));
    testing::WriteDirectory(folder / "new.sqlite", {Row{"DB0NEW", "JO62QM"}});
    std::filesystem::rename(folder / "new.sqlite", file);  // as an import puts its directory in place
    EXPECT_TRUE(directory.LookupRow({"DB0NEW"}));
    EXPECT_FALSE(directory.LookupRow({"DB0ABC"}));
    std::filesystem::remove(file);
    EXPECT_FALSE(directory.LookupRow({"DB0NEW"}));
}

TEST_F(StationDirectoryTest, TypedTextCannotChangeTheStatementOrTheFile) {
    const std::string before = testing::ReadFile(file);
    for (const std::string& payload : {std::string("' OR '1'='1"), std::string("x'; DROP TABLE repeater; --"),
                                       std::string("'"), std::string("ZZ9\0' OR '1'='1", 15),
                                       std::string("\xFF\xFE'"), std::string(1000, '\'')}) {
        EXPECT_FALSE(directory.LookupRow({payload})) << payload;
        EXPECT_TRUE(StationRecordLines(directory, {payload}).empty()) << payload;
    }
    EXPECT_EQ(testing::ReadFile(file), before);
    EXPECT_TRUE(directory.LookupRow({"DB0ABC"}));
}

TEST(StationDirectoryFailures, BrokenFilesLookLikeNoRows) {
    TempFolder folder;
    const auto noRows = [](const std::filesystem::path& file) {
        StationDirectory directory(file);
        int rows = 0;
        directory.RunQuery(kStationListStatement, [&](RowValues) { ++rows; });
        return rows == 0 && !directory.LookupRow({"DB0ABC"});
    };
    EXPECT_TRUE(noRows(folder / "missing.sqlite"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite"));  // never created

    testing::WriteFile(folder / "text.sqlite", "this is not a database at all, just some text\n");
    EXPECT_TRUE(noRows(folder / "text.sqlite"));

    sqlite3* db = nullptr;
    sqlite3_open((folder / "other.sqlite").c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE other (x TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_TRUE(noRows(folder / "other.sqlite"));
}

TEST_F(StationDirectoryTest, AWriterInTheMiddleOfATransactionDoesNotStopReading) {
    sqlite3* writer = nullptr;
    sqlite3_open(file.c_str(), &writer);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; INSERT INTO repeater (call) VALUES ('DB0NEW')", nullptr, nullptr,
                           nullptr), SQLITE_OK);
    EXPECT_TRUE(directory.LookupRow({"DB0ABC"}));
    EXPECT_FALSE(directory.LookupRow({"DB0NEW"}));  // not committed
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

TEST(StationDirectoryFailures, AnEndlessQueryEndsAsAFailedOne) {
    TempFolder folder;
    sqlite3* db = nullptr;
    sqlite3_open((folder / "endless.sqlite").c_str(), &db);
    sqlite3_exec(db,
                 "CREATE VIEW repeater AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                 "SELECT printf('C%d', i) AS call, 'JN58SD' AS loc, '' AS asl, '' AS mode, '' AS qth, '' AS aus, "
                 "'' AS ein, '' AS kanal, '' AS rem1, '' AS rem2 FROM n",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const StationDirectory directory(folder / "endless.sqlite", std::chrono::milliseconds(300));
    int rows = 0;
    EXPECT_FALSE(directory.RunQuery(kStationListStatement, [&](RowValues) { ++rows; }));
    EXPECT_EQ(rows, 0);
    EXPECT_FALSE(directory.LookupRow({"C1"}));  // the view finds it, then runs on past the limit
}

TEST(StationDirectoryFailures, OnlyARegularFileIsOpened) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.sqlite").c_str(), 0600), 0);
    EXPECT_FALSE(StationDirectory(folder / "fifo.sqlite").LookupRow({"DB0ABC"}));  // would block in open()
    EXPECT_FALSE(StationDirectory(folder.path()).LookupRow({"DB0ABC"}));
}

TEST(StationDirectoryFailures, AFilePastSqlitesPathLimitIsRead) {  // a HOME of some 470 bytes
    TempFolder folder;
    std::filesystem::path deep = folder.path();
    while (deep.string().size() < 600) deep /= std::string(100, 'd');
    std::filesystem::create_directories(deep);
    testing::WriteDirectory(folder / "short.sqlite", {Row{"DB0ABC", "JN58SD"}});
    std::filesystem::rename(folder / "short.sqlite", deep / "Moltrevane.sqlite");
    EXPECT_TRUE(StationDirectory(deep / "Moltrevane.sqlite").LookupRow({"DB0ABC"}));
}

TEST(StationDirectoryFailures, HugeValuesAreShownCutAtACharacterBoundary) {
    TempFolder folder;
    const std::string umlauts = std::string(kShownValueLimit - 1, 'a') + "\u00FC\u00FC";
    testing::WriteDirectory(folder / "huge.sqlite", {Row{"DB0BIG", umlauts, "1", std::string(262144, 'm'), "Ort"}});
    const StationDirectory directory(folder / "huge.sqlite");
    EXPECT_EQ(ShownValue((*directory.LookupRow({"DB0BIG"}))[1]), std::string(kShownValueLimit - 1, 'a') + "\u2026");
    const std::vector<std::string> lines = StationRecordLines(directory, {"DB0BIG"});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_LT(lines[0].size(), 1000u);
}

TEST_F(StationDirectoryTest, RecordListsFiveLinesPerRow) {
    EXPECT_EQ(StationRecordLines(directory, {"DB0ABC"}),
              (std::vector<std::string>{"DB0ABC  -  JN58SD  -  520  -  FM", "   Muenchen",
                                        "   439.100  -  431.500  -  RU692", "   Echolink", "   demo"}));
    const auto berlin = StationRecordLines(directory, {"DB0DUP", "JO62QM", {}});  // one row of a call listed twice
    ASSERT_EQ(berlin.size(), 5u);
    EXPECT_EQ(berlin[0], "DB0DUP  -  JO62QM  -  40  -  FM");
    EXPECT_EQ(berlin[3], "   tone 88.5") << "the access tone said for what it is";
    EXPECT_EQ(berlin[4], "   ");  // NULL remark: three blanks, still listed

    const auto split = StationRecordLines(directory, {"DB0CR"});
    ASSERT_EQ(split.size(), 6u);
    EXPECT_EQ(split[1], "   Stutt");
    EXPECT_EQ(split[2], "gart");
    EXPECT_TRUE(StationRecordLines(directory, {"NOBODY"}).empty());
}

}  // namespace
}  // namespace moltrevane
