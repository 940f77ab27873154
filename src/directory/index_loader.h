#pragma once
// The station index of the directory file, kept up to date on a worker thread: read at the
// start, and again whenever the file is replaced (by an import, say), while the window goes on
// answering.

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "directory/station_index.h"

namespace moltrevane {

class IndexLoader {
public:
    explicit IndexLoader(std::filesystem::path directoryFile);
    ~IndexLoader();  // gives up a read under way
    IndexLoader(const IndexLoader&) = delete;
    IndexLoader& operator=(const IndexLoader&) = delete;

    // One look at the file: when it is not the one last read, a new read starts. Cheap enough
    // for the window's thread once a second.
    void Refresh();

    // The index last read: an empty one for a missing or unreadable directory, nothing until
    // the first read has ended.
    std::shared_ptr<const StationIndex> Current() const;
    // The index holds the file as the last Refresh saw it; a search waits for that.
    bool UpToDate() const;

private:
    // What tells one file from another, or from itself changed.
    struct Identity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Identity&) const = default;
    };
    Identity Look() const;
    void Work();

    const std::filesystem::path file_;
    mutable std::mutex guard_;
    std::condition_variable wake_;
    std::optional<Identity> wanted_;  // what Refresh last saw
    std::optional<Identity> taken_;   // what the worker read last, or reads now
    bool loading_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancelled_{false};
    std::shared_ptr<const StationIndex> current_;
    std::thread worker_;  // last: it starts once everything above is made
};

}  // namespace moltrevane
