// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/directory_writer.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

// The folder the directory is in: a bare name's is the working folder.
std::filesystem::path FolderOf(const std::filesystem::path& target) { return target.has_parent_path() ? target.parent_path() : "."; }

// An import killed before it ended (kill -9, a power cut) leaves its file, up to the size of a
// whole directory. A writer holds its file locked while it lives, and the folder's lock keeps
// any other from starting meanwhile: a file that nobody holds was abandoned, however new.
void RemoveAbandoned(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error); !error && entry != std::filesystem::directory_iterator();
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const int fd = open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat file {};
        if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(entry->path().c_str());
        close(fd);
    }
}

// Gives a file made by this import the original directory's owner and group as far as this user
// may (root both, a user a group of theirs), then its mode: without the group's bits when the
// group could not be kept, so the file is never readable by more than the original was.
void KeepOwnership(int fd, const struct stat& original) {
    (void)fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    (void)fchown(fd, original.st_uid, static_cast<gid_t>(-1));
    struct stat made {};
    const bool sameGroup = fstat(fd, &made) == 0 && made.st_gid == original.st_gid;
    fchmod(fd, original.st_mode & (sameGroup ? 0777 : 0700));
}

// The old directory copied where no hard link can be made (a file system without them, a file
// of another user under protected_hardlinks): made private first, then given the original's.
bool CopyKeepingOwnership(const std::filesystem::path& from, const std::filesystem::path& to) {
    const UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat original {};
    if (!in || fstat(in.get(), &original) != 0) return false;
    const UniqueFd out(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out) return false;
    KeepOwnership(out.get(), original);
    bool copied = true;
    for (char buffer[64 * 1024];;) {
        const ssize_t got = read(in.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 || write(out.get(), buffer, static_cast<std::size_t>(got)) != got) {
            copied = false;
            break;
        }
    }
    if (copied && fsync(out.get()) == 0) return true;
    unlink(to.c_str());
    return false;
}

}  // namespace

UniqueFd LockImportFolder(const std::filesystem::path& target, std::string& error) {
    const std::filesystem::path folder = FolderOf(target);
    UniqueFd lock(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (lock && flock(lock.get(), LOCK_EX | LOCK_NB) == 0) return lock;
    error = errno == EWOULDBLOCK ? "another import into " + folder.string() + " is running: try again when it has ended"
                                 : "cannot write in " + folder.string() + ": " + std::strerror(errno);
    return {};
}

std::unique_ptr<DirectoryWriter> DirectoryWriter::Begin(const std::filesystem::path& target, std::string& error) {
    // A device (--output /dev/null), a FIFO or a link there is no directory: replaced by one, the
    // device or the file it names would be lost to whatever else uses it.
    struct stat existing {};
    const bool exists = lstat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = target.string() + " is no regular file (a device, a link, a folder): give a station directory or a new name";
        return nullptr;
    }
    const std::filesystem::path folder = FolderOf(target);
    // A name no one would give a file, beside the target so that the rename stays in one file system.
    const std::string prefix = "." + target.filename().string() + ".import-";
    UniqueFd folderLock = LockImportFolder(target, error);
    if (!folderLock) return nullptr;
    RemoveAbandoned(folder, prefix);
    std::string pattern = (folder / (prefix + "XXXXXX")).string();
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);  // no player the program starts meanwhile holds it
    if (fd < 0) {
        error = "cannot write in " + folder.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    flock(fd, LOCK_EX);  // while this writer lives: its file is no one's to remove
    if (exists) KeepOwnership(fd, existing);
    else fchmod(fd, 0644);
    std::unique_ptr<DirectoryWriter> writer(new DirectoryWriter(target, pattern, std::move(folderLock), UniqueFd(fd)));
    if (sqlite3_open_v2(pattern.c_str(), &writer->database_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        !writer->Exec("PRAGMA journal_mode=OFF") || !writer->Exec("PRAGMA synchronous=OFF") ||
        !writer->Exec("BEGIN") || !writer->Exec(kCreateRepeaterTable) ||
        !writer->Exec("CREATE TEMP TABLE seen (call TEXT, aus TEXT, PRIMARY KEY (call, aus)) WITHOUT ROWID") ||
        sqlite3_prepare_v2(writer->database_, "INSERT OR IGNORE INTO seen VALUES (?, ?)", -1, &writer->remember_,
                           nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(writer->database_, "INSERT INTO repeater VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1,
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
    for (int i = 0; i < static_cast<int>(row.size()); ++i) insertBound = insertBound && bind(insert_, i + 1, row[static_cast<std::size_t>(i)]);
    const bool inserted = insertBound && sqlite3_step(insert_) == SQLITE_DONE;
    sqlite3_reset(insert_);
    if (!inserted) return Fail("cannot write"), Added::Failed;
    return Added::New;
}

std::string DirectoryWriter::Commit(const std::atomic<bool>* stop) {
    if (!error_.empty()) return error_;
    if (stop != nullptr)
        sqlite3_progress_handler(database_, 10000, [](void* flag) { return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0; },
                                 const_cast<std::atomic<bool>*>(stop));
    bool written = Exec(kCreateStationIndex) && Exec("DROP TABLE seen") && Exec("COMMIT");
    if (written && !Close()) written = false, error_ = "cannot close " + temporary_.string();
    if (written && !SyncPath(temporary_, O_RDONLY))
        written = false, error_ = "cannot write " + target_.string() + ": " + std::strerror(errno);
    // The last moment the old directory can stay: after the rename the import has finished.
    if (stop != nullptr && stop->load()) return error_ = "interrupted";
    if (!written) return error_;
    std::error_code failed;
    if (std::filesystem::is_regular_file(target_, failed)) {
        // A hard link keeps the old directory's bytes under the new name at no cost.
        const std::filesystem::path old = OldPath();
        std::filesystem::remove(old, failed);
        // A hard link is the same file: its mode, owner and group are the original's.
        if (link(target_.c_str(), old.c_str()) != 0 && !CopyKeepingOwnership(target_, old))
            return error_ = "cannot keep the old directory as " + old.string() + ": " + std::strerror(errno);
        keptOld_ = true;
    }
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return error_ = "cannot replace " + target_.string() + ": " + std::strerror(errno);
    committed_ = true;
    SyncPath(FolderOf(target_), O_RDONLY | O_DIRECTORY);
    return {};
}

}  // namespace moltrevane
