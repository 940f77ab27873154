// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for station lists on a worker thread: a USB stick may take seconds to answer, and
// the window's thread only looks whether the search has ended.

#include <atomic>
#include <filesystem>
#include <future>
#include <optional>
#include <vector>

#include "import/list_finder.h"

namespace moltrevane {

class ListScan {
public:
    ListScan() = default;
    ~ListScan() { stop_ = true; }  // the future then waits for a search that gives up soon
    ListScan(const ListScan&) = delete;
    ListScan& operator=(const ListScan&) = delete;

    // A new search unless one runs still (its files then come when it ends).
    void Start(std::vector<ListPlace> places);
    // The files found, once, when the search has ended; nothing before.
    std::optional<std::vector<std::filesystem::path>> Take();

private:
    std::atomic<bool> stop_{false};
    std::future<std::vector<std::filesystem::path>> found_;
};

}  // namespace moltrevane
