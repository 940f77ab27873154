#include "import/directory_writer.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <system_error>

#include "directory/station_directory.h"

namespace moltrevane {
namespace {

bool SyncPath(const std::filesystem::path& path, int flags) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

// An import killed before it ended (kill -9, a power cut) leaves its file, up to the size of a
// whole directory. A writer holds its file locked while it lives; one that nobody holds and that
// was not just made (between mkstemp and flock) was abandoned and is removed.
void RemoveAbandoned(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error); !error && entry != std::filesystem::directory_iterator();
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const int fd = open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat file {};
        if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_mtime < std::time(nullptr) - 60 &&
            flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(entry->path().c_str());
        close(fd);
    }
}

}  // namespace

std::unique_ptr<DirectoryWriter> DirectoryWriter::Begin(const std::filesystem::path& target, std::string& error) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    // A name no one would give a file, beside the target so that the rename stays in one file system.
    const std::string prefix = "." + target.filename().string() + ".import-";
    RemoveAbandoned(folder, prefix);
    std::string pattern = (folder / (prefix + "XXXXXX")).string();
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);  // no player the program starts meanwhile holds it
    if (fd < 0) {
        error = "cannot write in " + folder.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    flock(fd, LOCK_EX);  // while this writer lives: its file is no one's to remove
    struct stat old {};
    fchmod(fd, stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    std::unique_ptr<DirectoryWriter> writer(new DirectoryWriter(target, pattern, fd));
    if (sqlite3_open_v2(pattern.c_str(), &writer->database_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        !writer->Exec("PRAGMA journal_mode=OFF") || !writer->Exec("PRAGMA synchronous=OFF") ||
        !writer->Exec("BEGIN") || !writer->Exec(kCreateRepeaterTable) ||
        !writer->Exec("CREATE TEMP TABLE seen (call TEXT, aus TEXT, PRIMARY KEY (call, aus)) WITHOUT ROWID") ||
        sqlite3_prepare_v2(writer->database_, "INSERT OR IGNORE INTO seen VALUES (?, ?)", -1, &writer->remember_,
                           nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(writer->database_, "INSERT INTO repeater VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1,
                           &writer->insert_, nullptr) != SQLITE_OK) {
        writer->Fail("cannot start");
        error = writer->error_;
        return nullptr;
    }
    return writer;
}

DirectoryWriter::~DirectoryWriter() {
    Close();
    std::error_code ignored;
    if (!committed_) std::filesystem::remove(temporary_, ignored);
    close(lock_);
}

bool DirectoryWriter::Close() {
    sqlite3_finalize(remember_);
    sqlite3_finalize(insert_);
    remember_ = insert_ = nullptr;
    const bool closed = sqlite3_close(database_) == SQLITE_OK;
    database_ = nullptr;
    return closed;
}

bool DirectoryWriter::Fail(const std::string& what) {
    if (error_.empty())
        error_ = what + " " + target_.string() + ": " + (database_ ? sqlite3_errmsg(database_) : "out of memory");
    return false;
}

bool DirectoryWriter::Exec(const char* statement) {
    return sqlite3_exec(database_, statement, nullptr, nullptr, nullptr) == SQLITE_OK || Fail("cannot write");
}

DirectoryWriter::Added DirectoryWriter::Add(const DirectoryRow& row) {
    if (!error_.empty()) return Added::Failed;
    const auto bind = [](sqlite3_stmt* statement, int index, const std::string& text) {
        return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) == SQLITE_OK;
    };
    const bool bound = bind(remember_, 1, row[0]) && bind(remember_, 2, row[5]);
    const bool remembered = bound && sqlite3_step(remember_) == SQLITE_DONE;
    sqlite3_reset(remember_);
    if (!remembered) return Fail("cannot write"), Added::Failed;
    if (sqlite3_changes(database_) == 0) return Added::Duplicate;
    bool insertBound = true;
    for (int i = 0; i < 10; ++i) insertBound = insertBound && bind(insert_, i + 1, row[static_cast<std::size_t>(i)]);
    const bool inserted = insertBound && sqlite3_step(insert_) == SQLITE_DONE;
    sqlite3_reset(insert_);
    if (!inserted) return Fail("cannot write"), Added::Failed;
    return Added::New;
}

std::string DirectoryWriter::Commit() {
    if (!error_.empty()) return error_;
    if (!Exec(kCreateStationIndex) || !Exec("DROP TABLE seen") || !Exec("COMMIT")) return error_;
    if (!Close()) return error_ = "cannot close " + temporary_.string();
    if (!SyncPath(temporary_, O_RDONLY)) return error_ = "cannot write " + target_.string() + ": " + std::strerror(errno);
    std::error_code failed;
    if (std::filesystem::is_regular_file(target_, failed)) {
        // A hard link keeps the old directory's bytes under the new name at no cost.
        const std::filesystem::path old = OldPath();
        std::filesystem::remove(old, failed);
        if (link(target_.c_str(), old.c_str()) != 0 &&
            !std::filesystem::copy_file(target_, old, std::filesystem::copy_options::overwrite_existing, failed))
            return error_ = "cannot keep the old directory as " + old.string() + ": " + std::strerror(errno);
        keptOld_ = true;
    }
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return error_ = "cannot replace " + target_.string() + ": " + std::strerror(errno);
    committed_ = true;
    SyncPath(target_.has_parent_path() ? target_.parent_path() : ".", O_RDONLY | O_DIRECTORY);
    return {};
}

}  // namespace moltrevane
