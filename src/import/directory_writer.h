// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A new station directory, written beside the one it replaces and put in its place only
// whole: until Commit, the old directory is untouched, and an unfinished one leaves nothing.

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "base/unique_fd.h"
#include "import/listed_station.h"

struct sqlite3;
struct sqlite3_stmt;

namespace moltrevane {

// The folder of `target`, locked (flock) for as long as the handle lives: an import and an undo
// in one folder run one at a time, or each would take the other's directory for the old one.
// Nothing and `error` set while another holds it, or when the folder cannot be opened.
UniqueFd LockImportFolder(const std::filesystem::path& target, std::string& error);

class DirectoryWriter {
public:
    // Starts the new directory in `target`'s folder; nothing and `error` set when it cannot,
    // also while another import into that folder runs.
    static std::unique_ptr<DirectoryWriter> Begin(const std::filesystem::path& target, std::string& error);
    ~DirectoryWriter();  // an uncommitted directory is removed
    DirectoryWriter(const DirectoryWriter&) = delete;
    DirectoryWriter& operator=(const DirectoryWriter&) = delete;

    // A row whose call and output frequency are in already is one station: not added again.
    enum class Added { New, Duplicate, Failed };
    Added Add(const DirectoryRow& row);

    // Indexes, flushes to disk and renames into place; the directory it replaces is kept as
    // NAME.old (one generation). Empty on success, the reason otherwise: "interrupted" when
    // `stop` was set before the rename (the indexing, which takes a while, ends at once).
    std::string Commit(const std::atomic<bool>* stop = nullptr);
    bool KeptOld() const { return keptOld_; }
    std::filesystem::path OldPath() const { return target_.string() + ".old"; }
    const std::string& Error() const { return error_; }

private:
    DirectoryWriter(std::filesystem::path target, std::filesystem::path temporary, UniqueFd folderLock, UniqueFd lock)
        : target_(std::move(target)), temporary_(std::move(temporary)), folderLock_(std::move(folderLock)),
          lock_(std::move(lock)) {}
    bool Exec(const char* statement);
    bool Fail(const std::string& what);
    bool Close();

    std::filesystem::path target_, temporary_;
    UniqueFd folderLock_;  // LockImportFolder's, from the start to the rename
    UniqueFd lock_;  // the new file, held locked while this writer lives
    sqlite3* database_ = nullptr;
    sqlite3_stmt* remember_ = nullptr;  // into the list of (call, aus) seen
    sqlite3_stmt* insert_ = nullptr;
    bool committed_ = false, keptOld_ = false;
    std::string error_;
};

}  // namespace moltrevane
