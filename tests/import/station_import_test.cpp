// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/station_import.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <map>
#include <sstream>

#include "directory/station_directory.h"
#include "import/directory_writer.h"
#include "support/golden_table.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const std::filesystem::path kFixtures = MOLTREVANE_IMPORT_FIXTURES;

// Hard links fail as on a file system without them, so that the old directory is copied; a group
// is refused as to a user outside it, root or not.
bool linksFail = false, groupsRefused = false;
extern "C" int __real_fchown(int fd, uid_t owner, gid_t group);
extern "C" int __wrap_fchown(int fd, uid_t owner, gid_t group) {
    if (!groupsRefused || group == static_cast<gid_t>(-1)) return __real_fchown(fd, owner, group);
    errno = EPERM;
    return -1;
}
extern "C" int __real_link(const char* from, const char* to);
extern "C" int __wrap_link(const char* from, const char* to) {
    if (!linksFail) return __real_link(from, to);
    errno = EPERM;
    return -1;
}

const std::filesystem::path kGolden = kFixtures.parent_path() / "golden", kBroken = kFixtures.parent_path() / "broken";

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

// The rows a query gives, a line each, their columns joined by "|".
std::string QueryText(const std::filesystem::path& directory, std::string_view statement = "SELECT * FROM repeater ORDER BY rowid") {
    std::string text;
    StationDirectory(directory).RunQuery(statement, [&](RowValues row) {
        for (std::size_t i = 0; i < row.size(); ++i) text += std::string(i ? "|" : "") + std::string(row[i]);
        text += "\n";
    });
    return text;
}

// Every fixture follows one plan: A is off the air, B … J lie ever farther from JO50AA, B also
// has a 70 cm channel and a second, duplicate row, K has no position, L (where the list can
// say so) only the 4-character locator JO50; bad-text.csv is one row of bytes to be cleaned
// (no UTF-8, a control character, quotes) without a line end. Each fixture's whole directory,
// every column of every row in the order written, is checked in beside it in golden/ as
// NAME.txt, after its report line.
TEST(StationImport, EveryListGivesItsGoldenDirectory) {
    std::size_t compared = 0;
    for (const auto& golden : std::filesystem::directory_iterator(kGolden)) {
        if (golden.path().extension() != ".txt") continue;
        const std::string list = golden.path().stem().string();
        SCOPED_TRACE(list);
        TempFolder folder;
        const ImportOutcome outcome = Import({kFixtures / list}, folder / "Moltrevane.sqlite");
        ASSERT_EQ(outcome.error, "");
        testing::ExpectGolden(golden.path(), ReportLine(outcome.files[0]) + "\n" + QueryText(folder / "Moltrevane.sqlite"));
        ++compared;
    }
    EXPECT_EQ(compared, 14u);
}

// Beside a hand-made file, what killed imports left, one of them still locked, and a file not
// of that shape. bad-text.csv read as the RXF list it is said to be; what the killed imports left
// is removed by the next import, however new, but for what is locked and what is not theirs.
// hearham.json twice: each station once, the file before kept as .old; then the UK (one
// generation kept), then Poland added: both countries' stations, the UK's first; each undo swaps
// the directory with the one kept before it. A directory that is no regular file (here a FIFO,
// a folder, a link; a device node for --output /dev/null) is refused, and stays what it was.
// The steps' reports and the folder after each, every file named after the step that first
// wrote its bytes (or what it is, when no file), are in golden/replace-add-undo.expected.
TEST(StationImport, ListsReplaceOrAreAddedAndEachUndoGoesBackOneStep) {
    TempFolder folder;
    const auto target = folder / "Moltrevane.sqlite";
    std::map<std::string, std::string> writtenBy;  // bytes -> step
    using Type = std::filesystem::file_type;
    std::map<Type, std::string> others = {{Type::directory, "a folder"}, {Type::symlink, "a link"}, {Type::fifo, "a FIFO"}};
    std::string steps;
    const auto step = [&](const std::string& name, std::string said) {
        for (std::size_t at; (at = said.find(folder.path().string())) != std::string::npos;)
            said.replace(at, folder.path().string().size(), "FOLDER");
        steps += "== " + name + "\n" + said + (said.empty() || said.ends_with('\n') ? "" : "\n") + "folder:";
        for (const std::string& file : FolderNames(folder.path()))
            steps += " " + file + "=" + (std::filesystem::symlink_status(folder / file).type() == Type::regular
                                             ? writtenBy.emplace(ReadFile(folder / file), name).first->second
                                             : others[std::filesystem::symlink_status(folder / file).type()]);
        steps += "\n";
    };
    WriteFile(target, "hand-made");
    for (const char* name : {".Moltrevane.sqlite.import-KILLED", ".Moltrevane.sqlite.import-ALIVE1", ".Moltrevane.sqlite.import-mine"})
        WriteFile(folder / name, "half a directory");
    const int held = open((folder / ".Moltrevane.sqlite.import-ALIVE1").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    step("hand-made", "");
    ImportOptions asXml;
    asXml.format = ListFormat::RxfXml;
    step("bad text as RXF", Import({kFixtures / "bad-text.csv"}, target, asXml).error);
    step("hearham twice", ReportText(Import({kFixtures / "hearham.json", kFixtures / "hearham.json"}, target)));
    close(held);
    step("uk", ReportText(Import({kFixtures / "uk-all.csv"}, target)));
    ImportOptions add;
    add.kind = ImportKind::Add;
    const std::string added = ReportText(Import({kFixtures / "przemienniki-eu.json", kFixtures / "uk-all.csv"}, target, add));
    step("poland added", added + "\ncalls:\n" + QueryText(target, "SELECT call FROM repeater ORDER BY rowid"));
    for (const char* name : {"undo", "undo again", "undo a third time"}) step(name, UndoImport(target));
    std::filesystem::remove(target.string() + ".old");
    step("undo without an old one", UndoImport(target));
    WriteFile(target, "no directory");
    step("no directory", "");
    step("added to no directory", Import({kFixtures / "uk-all.csv"}, target, add).error);
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder");
    std::filesystem::create_symlink(kFixtures / "german.csv", folder / "link");
    for (const char* name : {"fifo", "folder", "link"})
        step("onto "s + name, Import({kFixtures / "german.csv"}, folder / name).error);
    testing::ExpectGolden(kGolden / "replace-add-undo.expected", steps);
}

// A list's bytes as broken/errors.txt writes them: escaped, "{TEXT*N}" N times TEXT.
std::string Expanded(std::string text) {
    for (std::size_t close; (close = text.find('}')) != std::string::npos;) {
        const std::size_t open = text.rfind('{', close), times = text.rfind('*', close);
        std::string repeated;
        for (int n = std::stoi(text.substr(times + 1)); n > 0; --n) repeated += text.substr(open + 1, times - open - 1);
        text.replace(open, close + 1 - open, repeated);
    }
    return testing::Unescaped(text);
}

// Whatever goes wrong, and when the lists give no station at all (which would empty the
// directory), the directory before stays byte for byte and nothing is left beside it. Each list
// is read after german.csv, or alone; broken/errors.txt gives in blocks "NAME [alone] [= BYTES]"
// (the list in broken/ or fixtures/ where no bytes are given), then the lines its error begins with.
TEST(StationImport, AFailedImportLeavesTheOldDirectoryAndNoLitter) {
    std::istringstream expected(ReadFile(kBroken / "errors.txt"));
    int cases = 0;
    for (std::string head, line; std::getline(expected, head); ++cases) {
        std::string error;
        while (std::getline(expected, line) && !line.empty()) error += (error.empty() ? "" : "\n") + line;
        const std::string name = head.substr(0, head.find(' '));
        const std::size_t made = head.find(" = ");
        SCOPED_TRACE(head.substr(0, made));
        TempFolder folder;
        const auto target = folder / "Moltrevane.sqlite";
        WriteFile(target, "hand-made");
        WriteFile(folder / name, made != std::string::npos ? Expanded(head.substr(made + 3))
                                                            : ReadFile((std::filesystem::exists(kBroken / name) ? kBroken : kFixtures) / name));
        std::vector<std::filesystem::path> lists = {kFixtures / "german.csv", folder / name};
        if (head.find(" alone") != std::string::npos) lists.erase(lists.begin());
        EXPECT_EQ(Import(lists, target).error.substr(0, error.size()), error);
        EXPECT_EQ(ReadFile(target), "hand-made");
        EXPECT_EQ(FolderNames(folder.path()), (std::vector<std::string>{"Moltrevane.sqlite", name}));
    }
    EXPECT_EQ(cases, 23);
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

// A stop while the list is read, and a signal while the directory is indexed and flushed before
// the rename: the old one stays.
TEST_F(StoppedImport, AStopWhileReadingOrBeforeTheRenameLeavesNothing) {
    std::atomic<bool> stop{false};
    ImportOptions options;
    options.stop = &stop;
    options.progress = [&](std::size_t, double) { stop = true; };
    EXPECT_EQ(Import({folder / "many.csv"}, target, options).error, "many.csv: interrupted");
    ExpectNothingChanged();
    std::string error;
    std::unique_ptr<DirectoryWriter> writer = DirectoryWriter::Begin(target, error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->Add({"DB0AA", "JO50AA", "", "FM", "", "145.6000", "145.0000", "", "", ""}), DirectoryWriter::Added::New);
    EXPECT_EQ(writer->Commit(&stop), "interrupted");  // stop still set by the read
    writer.reset();
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

// In a folder shared by a group, the new directory and the old one kept beside it belong to the
// original's owner and group (root may give them) with its mode, or are kept from the group.
TEST(StationImport, TheDirectoriesKeepTheOriginalsOwnerGroupAndMode) {
    for (const auto& [copied, refused] : {std::pair{false, false}, std::pair{true, false}, std::pair{true, true}}) {
        SCOPED_TRACE(copied ? (refused ? "old directory copied, its group refused" : "old directory copied") : "old directory linked");
        TempFolder folder;
        const auto target = folder / "Moltrevane.sqlite";
        WriteFile(target, "hand-made");
        ASSERT_EQ(chmod(target.c_str(), 0640), 0);
        const bool root = chown(target.c_str(), 4243, 4242) == 0;
        struct stat original {};
        ASSERT_EQ(stat(target.c_str(), &original), 0);
        linksFail = copied;
        groupsRefused = refused;
        ASSERT_EQ(Import({kFixtures / "german.csv"}, target).error, "");
        linksFail = groupsRefused = false;
        EXPECT_EQ(ReadFile(folder / "Moltrevane.sqlite.old"), "hand-made");
        for (const auto& made : {target, folder / "Moltrevane.sqlite.old"}) {
            SCOPED_TRACE(made);
            struct stat file {};
            ASSERT_EQ(stat(made.c_str(), &file), 0);
            EXPECT_TRUE(!refused || file.st_gid != original.st_gid);
            if (root && !refused) {
                EXPECT_EQ(std::pair(file.st_uid, file.st_gid), std::pair(original.st_uid, original.st_gid));
            }
            EXPECT_EQ(file.st_mode & 0777, file.st_gid == original.st_gid ? 0640u : 0600u);
        }
    }
}

// While an import runs, its list, still being written (a download), grows: read to its end, its
// share done never past the whole. A second import or an undo in the folder meanwhile is refused:
// the import keeps the directory from before as the old one (an undo let through would have
// swapped it away).
TEST_F(StoppedImport, AListThatGrowsIsReadToItsEndAndASecondImportOrAnUndoIsRefused) {
    WriteFile(folder / "small.csv", "call,loc\nDB0AA,JO50AA\n");
    WriteFile(folder / "Moltrevane.sqlite.old", "older");
    std::string second, undo;
    double most = 0;
    ImportOptions options;
    options.progress = [&](std::size_t, double done) {
        if (most == 0) std::ofstream(folder / "many.csv", std::ios::app) << ReadFile(folder / "many.csv").substr(13);
        most = std::max(most, done);
        if (second.empty()) second = Import({folder / "small.csv"}, target).error;
        if (undo.empty()) undo = UndoImport(target);
    };
    const ImportOutcome first = Import({folder / "many.csv"}, target, options);
    const std::string busy = "another import into " + folder.path().string() + " is running: try again when it has ended";
    EXPECT_EQ(second, busy);
    EXPECT_EQ(undo, busy);
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(first.files[0].stations, 200000u);
    EXPECT_EQ(first.files[0].stations + first.files[0].duplicates, 400000u);
    EXPECT_EQ(most, 1.0);
    EXPECT_EQ(ReadFile(folder / "Moltrevane.sqlite.old"), "hand-made");
    EXPECT_EQ(FolderNames(folder.path()),
              (std::vector<std::string>{"Moltrevane.sqlite", "Moltrevane.sqlite.old", "many.csv", "small.csv"}));
}

}  // namespace
}  // namespace moltrevane
