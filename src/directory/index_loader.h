// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The station index of the directory file, kept up to date on a worker thread: read at the
// start, and again whenever the file is replaced (by an import, say), while the window goes on
// answering. A read, once begun, ends: a file changed in place again and again (a sync tool
// touching it every second) is read again only once it keeps still for a moment, or after a
// while, and meanwhile searches are answered from the last whole index.

#include <atomic>
#include <chrono>
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
    // The index holds the file as the last Refresh saw it, or the file keeps changing and the
    // index is the last whole one; a search waits for that.
    bool UpToDate() const;

    // A file that changed again within this keeps changing.
    static constexpr std::chrono::seconds kStill{2};
    // Not more often than this is a file that keeps changing read again.
    static constexpr std::chrono::seconds kRestlessReread{30};

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
    using Clock = std::chrono::steady_clock;
    Identity Look() const;
    void Work();
    bool Restless(Clock::time_point now) const;  // with guard_ held
    bool ReadDue(Clock::time_point now) const;   // with guard_ held

    const std::filesystem::path file_;
    mutable std::mutex guard_;
    std::condition_variable wake_;
    std::optional<Identity> wanted_;  // what Refresh last saw
    std::optional<Identity> taken_;   // what the worker read last, or reads now
    Clock::time_point changedAt_{};    // when Refresh last saw a change
    bool changedAgain_ = false;        // that change came within kStill of the one before
    Clock::time_point lastRead_{};     // when the worker last ended a read
    bool loading_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancelled_{false};  // the loader ends
    std::shared_ptr<const StationIndex> current_;
    std::thread worker_;  // last: it starts once everything above is made
};

}  // namespace moltrevane
