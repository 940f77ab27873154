// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/list_scan.h"

#include <chrono>
#include <utility>

namespace moltrevane {

void ListScan::Start(std::vector<ListPlace> places) {
    if (found_.valid() && found_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    found_ = std::async(std::launch::async, [this, places = std::move(places)] { return FindStationLists(places, {}, &stop_); });
}

std::optional<std::vector<std::filesystem::path>> ListScan::Take() {
    if (!found_.valid() || found_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return std::nullopt;
    return found_.get();
}

}  // namespace moltrevane
