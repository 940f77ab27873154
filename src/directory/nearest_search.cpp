// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/nearest_search.h"

#include <cmath>
#include <utility>

#include "directory/station_directory.h"
#include "geo/distance.h"

namespace moltrevane {

void StationList::Clear() {
    text_.clear();
    entries_.clear();
    inOrder_ = true;
    listed_.clear();
}

bool StationList::AddIfNew(std::string_view call, std::string_view locator) {
    if (!entries_.empty()) {
        const std::string_view last = Call(entries_.size() - 1);
        if (inOrder_ && call < last) {
            inOrder_ = false;
            for (std::size_t i = 0; i < entries_.size(); ++i) listed_.emplace(Call(i));
        }
        if (inOrder_ ? call == last : listed_.contains(call)) return false;
    }
    if (!inOrder_) listed_.emplace(call);
    const std::size_t callStart = text_.size();
    text_.append(call).append(locator);
    entries_.push_back({callStart, call.size(), callStart + call.size(), locator.size()});
    return true;
}

std::string_view StationList::Call(std::size_t index) const {
    const Entry& e = entries_.at(index);
    return std::string_view(text_).substr(e.callStart, e.callLength);
}

std::string_view StationList::Locator(std::size_t index) const {
    const Entry& e = entries_.at(index);
    return std::string_view(text_).substr(e.locatorStart, e.locatorLength);
}

void CollectStation(StationList& list, std::string_view call, std::string_view locator) {
    if (call.size() > kLongestStationText || locator.size() > kLongestStationText) return;
    list.AddIfNew(call, locator);
}

int WholeKm(GeoPoint own, GeoPoint station) {
    return static_cast<int>(std::ceil(DistanceKm(own.latitude, own.longitude, station.latitude, station.longitude)));
}

void InsertCandidate(NearestStations& nearest, int distanceKm, int stationIndex) {
    if (!(distanceKm < nearest.back().distanceKm)) return;
    nearest.back() = {distanceKm, stationIndex};
    for (std::size_t p = nearest.size() - 1; p > 0 && nearest[p - 1].distanceKm > nearest[p].distanceKm; --p)
        std::swap(nearest[p - 1], nearest[p]);
}

void SearchNearest(GeoPoint own, const StationDirectory& directory, const StationFilter& filter, StationList& list,
                   NearestStations& nearest) {
    nearest.fill(NearestEntry{});
    list.Clear();
    const bool ran = directory.ListStations(filter, [&](RowValues row) {
        if (row.size() >= 2) CollectStation(list, row[0], row[1]);
    });
    if (!ran) list.Clear();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string_view locator = list.Locator(i);
        if (!IsValidLocator(locator)) continue;  // no usable locator, no distance
        InsertCandidate(nearest, WholeKm(own, PositionFromLocator(locator)), static_cast<int>(i));
    }
}

}  // namespace moltrevane
