#include "directory/index_loader.h"

#include <sys/stat.h>

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
    const std::lock_guard lock(guard_);
    if (wanted_ == seen) return;
    wanted_ = seen;
    if (loading_) cancelled_ = true;  // that file is gone or changed: its rows would be wrong
    wake_.notify_one();
}

std::shared_ptr<const StationIndex> IndexLoader::Current() const {
    const std::lock_guard lock(guard_);
    return current_;
}

bool IndexLoader::UpToDate() const {
    const std::lock_guard lock(guard_);
    return current_ && !loading_ && wanted_ == taken_;
}

void IndexLoader::Work() {
    std::unique_lock lock(guard_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || (wanted_ && wanted_ != taken_); });
        if (stopping_) return;
        const Identity wanted = *wanted_;
        taken_ = wanted;
        loading_ = true;
        cancelled_ = false;
        lock.unlock();
        std::optional<StationIndex> read = wanted.exists ? StationIndex::Load(file_, &cancelled_) : std::nullopt;
        auto index = std::make_shared<const StationIndex>(read ? std::move(*read) : StationIndex());
        lock.lock();
        loading_ = false;
        if (!cancelled_) current_ = std::move(index);
    }
}

}  // namespace moltrevane
