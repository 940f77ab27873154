// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/index_loader.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace moltrevane {

IndexLoader::IndexLoader(std::filesystem::path directoryFile)
    : file_(std::move(directoryFile)), worker_([this] { Work(); }) {}

IndexLoader::~IndexLoader() {
    {
        const std::lock_guard lock(guard_);
        stopping_ = true;
    }
    cancelled_ = true;
    wake_.notify_one();
    worker_.join();
}

IndexLoader::Identity IndexLoader::Look() const {
    struct stat info {};
    if (::stat(file_.c_str(), &info) != 0) return {};
    return {true, info.st_dev, info.st_ino, info.st_size,
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void IndexLoader::Refresh() {
    const Identity seen = Look();
    const Clock::time_point now = Clock::now();
    const std::lock_guard lock(guard_);
    if (wanted_ == seen) return;
    // A file replaced (an import renames a new one into place) is read at once; one changed in
    // place again within a moment keeps changing.
    const bool samePlace = wanted_ && wanted_->exists && seen.exists && wanted_->device == seen.device && wanted_->inode == seen.inode;
    changedAgain_ = samePlace && now - changedAt_ < kStill;
    wanted_ = seen;
    changedAt_ = now;
    wake_.notify_one();
}

std::shared_ptr<const StationIndex> IndexLoader::Current() const {
    const std::lock_guard lock(guard_);
    return current_;
}

bool IndexLoader::Restless(Clock::time_point now) const { return changedAgain_ && now - changedAt_ < kStill; }

bool IndexLoader::UpToDate() const {
    const std::lock_guard lock(guard_);
    return current_ && (Restless(Clock::now()) || (!loading_ && wanted_ == taken_));
}

// A changed file is read at once, unless it keeps changing: then once it is still, or after a
// while since the last read.
bool IndexLoader::ReadDue(Clock::time_point now) const {
    return wanted_ && wanted_ != taken_ && (!current_ || !Restless(now) || now - lastRead_ >= kRestlessReread);
}

void IndexLoader::Work() {
    std::unique_lock lock(guard_);
    for (;;) {
        while (!stopping_ && !ReadDue(Clock::now())) {
            if (wanted_ && wanted_ != taken_)
                wake_.wait_until(lock, std::min(changedAt_ + kStill, lastRead_ + kRestlessReread));
            else
                wake_.wait(lock);
        }
        if (stopping_) return;
        const Identity wanted = *wanted_;
        taken_ = wanted;
        loading_ = true;
        lock.unlock();
        std::optional<StationIndex> read = wanted.exists ? StationIndex::Load(file_, &cancelled_) : std::nullopt;
        auto index = std::make_shared<const StationIndex>(read ? std::move(*read) : StationIndex());
        lock.lock();
        loading_ = false;
        lastRead_ = Clock::now();
        if (!cancelled_) current_ = std::move(index);
    }
}

}  // namespace moltrevane
