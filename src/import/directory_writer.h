#pragma once
// A new station directory, written beside the one it replaces and put in its place only
// whole: until Commit, the old directory is untouched, and an unfinished one leaves nothing.

#include <filesystem>
#include <memory>
#include <string>

#include "import/listed_station.h"

struct sqlite3;
struct sqlite3_stmt;

namespace moltrevane {

class DirectoryWriter {
public:
    // Starts the new directory in `target`'s folder; nothing and `error` set when it cannot.
    static std::unique_ptr<DirectoryWriter> Begin(const std::filesystem::path& target, std::string& error);
    ~DirectoryWriter();  // an uncommitted directory is removed
    DirectoryWriter(const DirectoryWriter&) = delete;
    DirectoryWriter& operator=(const DirectoryWriter&) = delete;

    // A row whose call and output frequency are in already is one station: not added again.
    enum class Added { New, Duplicate, Failed };
    Added Add(const DirectoryRow& row);

    // Indexes, flushes to disk and renames into place; the directory it replaces is kept as
    // NAME.old (one generation). Empty on success, the reason otherwise.
    std::string Commit();
    bool KeptOld() const { return keptOld_; }
    std::filesystem::path OldPath() const { return target_.string() + ".old"; }
    const std::string& Error() const { return error_; }

private:
    DirectoryWriter(std::filesystem::path target, std::filesystem::path temporary, int lock)
        : target_(std::move(target)), temporary_(std::move(temporary)), lock_(lock) {}
    bool Exec(const char* statement);
    bool Fail(const std::string& what);
    bool Close();

    std::filesystem::path target_, temporary_;
    int lock_;  // the new file, held locked (flock) while this writer lives
    sqlite3* database_ = nullptr;
    sqlite3_stmt* remember_ = nullptr;  // into the list of (call, aus) seen
    sqlite3_stmt* insert_ = nullptr;
    bool committed_ = false, keptOld_ = false;
    std::string error_;
};

}  // namespace moltrevane
