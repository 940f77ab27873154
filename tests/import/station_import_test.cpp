#include "import/station_import.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>

#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const std::filesystem::path kFixtures = MOLTREVANE_IMPORT_FIXTURES;

std::vector<std::string> NearestSeven(const std::filesystem::path& directory) {
    StationList list;
    NearestStations nearest;
    SearchNearest(PositionFromLocator("JO50AA"), StationDirectory(directory), StationFilter{}, list, nearest);
    std::vector<std::string> calls;
    for (const NearestEntry& entry : nearest)
        calls.emplace_back(entry.stationIndex == kNoStation ? "-" : list.Call(static_cast<std::size_t>(entry.stationIndex)));
    return calls;
}

std::vector<std::string> Calls(const std::string& prefix, std::string_view letters) {
    std::vector<std::string> calls;
    for (char letter : letters) calls.push_back(prefix + letter);
    return calls;
}

ImportOutcome Import(std::vector<std::filesystem::path> files, const std::filesystem::path& target,
                     ImportOptions options = {}) {
    return ImportStations(files, target, options);
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Every fixture follows one plan: A is off the air, B … J lie ever farther from JO50AA, B also
// has a 70 cm channel and a second, duplicate row, K has no position, L (where the list can
// say so) only the 4-character locator JO50, which puts it between G and H.
struct Fixture {
    const char* file;
    const char* report;
    const char* prefix;
    const char* nearest;
};

TEST(StationImport, EveryListImportsAndTheSearchListsItsNearestSeven) {
    const Fixture fixtures[] = {
        {"repeaterbook.json", "10 stations (4 skipped: 1 not working, 1 without a position, 1 without a call, 1 duplicate; 0 placed", "K0RJ", "BCDEFGH"},
        {"repeaterbook.csv", "10 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 0 placed", "K0RC", "BCDEFGH"},
        {"hearham.json", "10 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 0 placed", "W0HH", "BCDEFGH"},
        {"przemienniki.xml", "11 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 1 placed", "SR0X", "BCDEFGL"},
        {"przemienniki-eu.json", "11 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 1 placed", "SR0E", "BCDEFGL"},
        {"uk-repeaters.csv", "11 stations (2 skipped: 1 without a position, 1 duplicate; 1 placed", "GB3U", "BCDEFGL"},
        {"english.csv", "10 stations (4 skipped: 1 not working, 2 without a position, 1 duplicate; 0 placed", "DB0E", "BCDEFGH"},
        {"german.csv", "11 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 1 placed", "DB0G", "BCDEFGL"},
        {"polish.csv", "11 stations (3 skipped: 1 not working, 1 without a position, 1 duplicate; 1 placed", "SR0P", "BCDEFGL"},
        {"directory-columns.csv", "11 stations (2 skipped: 1 without a position, 1 duplicate; 1 placed", "DB0T", "BCDEFGL"},
    };
    for (const Fixture& fixture : fixtures) {
        SCOPED_TRACE(fixture.file);
        TempFolder folder;
        const ImportOutcome outcome = Import({kFixtures / fixture.file}, folder / "Moltrevane.sqlite");
        ASSERT_EQ(outcome.error, "");
        EXPECT_EQ(ReportLine(outcome.files[0]),
                  fixture.file + std::string(": ") + fixture.report + " from a 4-character locator)");
        EXPECT_EQ(NearestSeven(folder / "Moltrevane.sqlite"), Calls(fixture.prefix, fixture.nearest));
    }
}

TEST(StationImport, RowsCarryTheDirectorysColumnsWithTheRightSenseOfEachFrequency) {
    TempFolder folder;
    const auto target = folder / "d.sqlite";
    ASSERT_EQ(Import({kFixtures / "przemienniki.xml", kFixtures / "hearham.json"}, target).error, "");
    std::vector<std::string> rows;
    StationDirectory(target).RunQuery("SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2 FROM repeater "
                                      "WHERE call IN ('SR0XB', 'W0HHC', 'SR0XC')",
                                      [&](RowValues row) {
                                          std::string text;
                                          for (std::string_view value : row) text += std::string(value) + "|";
                                          rows.push_back(text);
                                      });
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "SR0XB|JO50AC|120|FM|Altdorf|145.6125|145.0125||94.8|Wieża & maszt; przemienniki.net|",
                        "SR0XB|JO50AC|120|FM|Altdorf|439.2000|431.6000||94.8|Wieża & maszt; przemienniki.net|",
                        "SR0XC|JO50BE|120|DMR|Bergheim|145.6250|145.0250||94.8|Wieża & maszt; przemienniki.net|",
                        "W0HHC|JO50BE||FM|Bergheim|145.6250|145.0250||100.0|club station; hearham|"}));
}

TEST(StationImport, DuplicatesAcrossFilesAreOneRowAndTheDirectoryBeforeIsKept) {
    TempFolder folder;
    const auto target = folder / "Moltrevane.sqlite";
    WriteFile(target, "hand-made");
    const ImportOutcome first = Import({kFixtures / "hearham.json", kFixtures / "hearham.json"}, target);
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(ReportLine(first.files[1]), "hearham.json: 0 stations (13 skipped: 1 not working, 1 without a position, "
                                          "11 duplicates; 0 placed from a 4-character locator)");
    EXPECT_TRUE(first.keptOld);
    EXPECT_EQ(ReadFile(folder / "Moltrevane.sqlite.old"), "hand-made");
    EXPECT_NE(ReportText(first).find("kept as " + (folder / "Moltrevane.sqlite.old").string()), std::string::npos);
    const std::string imported = ReadFile(target);
    ASSERT_EQ(Import({kFixtures / "uk-repeaters.csv"}, target).error, "");
    EXPECT_EQ(ReadFile(folder / "Moltrevane.sqlite.old"), imported);  // one generation
    EXPECT_EQ(FolderNames(folder.path()), (std::vector<std::string>{"Moltrevane.sqlite", "Moltrevane.sqlite.old"}));
}

// Whatever goes wrong, the directory before stays byte for byte and nothing is left beside it.
TEST(StationImport, AFailedImportLeavesTheOldDirectoryAndNoLitter) {
    struct Case {
        std::string name, bytes, error;
    };
    const std::string deep(100000, '[');
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]><r><repeater><qra>&c;</qra></repeater></r>";
    const std::string external =
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r><repeater><qra>&x;</qra></repeater></r>";
    const Case cases[] = {
        {"chirp.csv", ReadFile(kFixtures / "chirp.csv"), "chirp.csv: has no station positions (CHIRP lists hold none)"},
        {"cut.json", ReadFile(kFixtures / "hearham.json").substr(0, 700), "cut.json: parse error at line 38"},
        {"cut.xml", ReadFile(kFixtures / "przemienniki.xml").substr(0, 900), "cut.xml: line 7: unclosed token"},
        {"deep.json", deep, "deep.json: nested deeper than 64"},
        {"laughs.xml", laughs, "laughs.xml: line 1: declares an entity; a station list needs none"},
        {"external.xml", external, "external.xml: line 1: declares an entity; a station list needs none"},
        {"huge.json", "[{\"callsign\":\"DB0AA\",\"latitude\":1e999}]", "huge.json: number overflow parsing '1e999'"},
        {"nul.csv", "call,loc\nDB0AA,JO50AA\nDB0AB,JO5\0AA\n"s, "nul.csv: is no station list"},
        {"nul-late.csv", "call,loc\n" + std::string(70000, '\n') + "DB0AB,JO5\0AA\n"s, "nul-late.csv: line 70002: a NUL byte"},
        {"line.csv", "call,loc\n\"" + std::string(3 << 20, 'x'), "line.csv: line 2: longer than 1 MB"},
        {"object.json", "{\"count\": 0, \"results\": []}", "object.json: holds no stations"},
        {"quote.csv", "call,loc\nDB0AA,\"JO50AA\nDB0AB,JO50AB\n", "quote.csv: line 2: a quote is never closed"},
        {"binary.xml", "<r>" + std::string(3 << 20, 'x'), "binary.xml: line 1: an element longer than 1 MB"},
        {"value.json", "[\"" + std::string(3 << 20, 'x'), "value.json: a value longer than 1 MB"},
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.name);
        TempFolder folder;
        const auto target = folder / "Moltrevane.sqlite";
        WriteFile(target, "hand-made");
        WriteFile(folder / failing.name, failing.bytes);
        const ImportOutcome outcome = Import({kFixtures / "german.csv", folder / failing.name}, target);
        EXPECT_EQ(outcome.error.substr(0, failing.error.size()), failing.error);
        EXPECT_EQ(ReadFile(target), "hand-made");
        EXPECT_EQ(FolderNames(folder.path()), (std::vector<std::string>{"Moltrevane.sqlite", failing.name}));
    }
}

class StoppedImport : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(target, "hand-made");
        std::string many = "call,lat,lon\n";
        for (int i = 0; i < 200000; ++i) many += "DB" + std::to_string(i) + ",50.1,10.1\n";
        WriteFile(folder / "many.csv", many);
    }
    void ExpectNothingChanged() {
        EXPECT_EQ(ReadFile(target), "hand-made");
        EXPECT_EQ(FolderNames(folder.path()), (std::vector<std::string>{"Moltrevane.sqlite", "many.csv"}));
    }
    TempFolder folder;
    std::filesystem::path target = folder / "Moltrevane.sqlite";
};

TEST_F(StoppedImport, AnInterruptedImportLeavesNothing) {
    std::atomic<bool> stop{false};
    ImportOptions options;
    options.stop = &stop;
    options.progress = [&](std::size_t, double) { stop = true; };
    EXPECT_EQ(Import({folder / "many.csv"}, target, options).error, "many.csv: interrupted");
    ExpectNothingChanged();
}

// The directory grows past what the file system takes: in a child, whose file size is limited.
TEST_F(StoppedImport, AFullDiskLeavesNothing) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string error = Import({folder / "many.csv"}, target).error;
        _exit(error.starts_with("cannot write " + target.string() + ": ") ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ExpectNothingChanged();
}

// What a killed import left is removed by the next; what another import holds, what was just
// made and what is not of that shape stay.
TEST(StationImport, WhatAKilledImportLeftIsRemovedByTheNext) {
    TempFolder folder;
    const auto left = [&](const std::string& name, bool old) {
        WriteFile(folder / name, "half a directory");
        if (old) std::filesystem::last_write_time(folder / name, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        return folder / name;
    };
    left(".Moltrevane.sqlite.import-KILLED", true);
    const int held = open(left(".Moltrevane.sqlite.import-ALIVE1", true).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    left(".Moltrevane.sqlite.import-NEWONE", false);
    left(".Moltrevane.sqlite.import-mine", true);
    WriteFile(folder / "list.csv", "call,loc\nDB0AA,JO50AA\n");
    EXPECT_EQ(Import({folder / "list.csv"}, folder / "Moltrevane.sqlite").error, "");
    close(held);
    EXPECT_EQ(FolderNames(folder.path()),
              (std::vector<std::string>{".Moltrevane.sqlite.import-ALIVE1", ".Moltrevane.sqlite.import-NEWONE",
                                        ".Moltrevane.sqlite.import-mine", "Moltrevane.sqlite", "list.csv"}));
}

TEST(StationImport, BadTextIsCleanedAndForcedFormatsAreObeyed) {
    TempFolder folder;
    const auto target = folder / "d.sqlite";
    WriteFile(folder / "bad.csv", "call,loc,qth\ndb0\xff\xfe,jo50ac,\"Ort\x01\xc3 \"\"Mitte\"\"\"\n");
    ASSERT_EQ(Import({folder / "bad.csv"}, target).error, "");
    std::string row;
    StationDirectory(target).RunQuery("SELECT call || '|' || loc || '|' || qth FROM repeater",
                                      [&](RowValues values) { row = values[0]; });
    EXPECT_EQ(row, "DB0??|JO50AC|Ort ? \"Mitte\"");
    ImportOptions asXml;
    asXml.format = ListFormat::RxfXml;
    EXPECT_EQ(Import({folder / "bad.csv"}, target, asXml).error, "bad.csv: line 1: syntax error");
}

}  // namespace
}  // namespace moltrevane
