// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seven stations nearest to the own position.

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "directory/station_kind.h"
#include "geo/locator.h"

namespace moltrevane {

class StationDirectory;

// Calls and locators of every station, in the station-list query's order, each call once.
// Kept for the whole run; its storage is reused by every search.
class StationList {
public:
    void Clear();
    // Keeps the first row of each call; false for a call already listed.
    bool AddIfNew(std::string_view call, std::string_view locator);
    std::size_t Count() const { return entries_.size(); }
    std::string_view Call(std::size_t index) const;
    std::string_view Locator(std::size_t index) const;

private:
    struct Entry {
        std::size_t callStart, callLength, locatorStart, locatorLength;
    };
    std::string text_;
    std::vector<Entry> entries_;
    // While the calls come in byte order (a directory of text), an equal call can only be the
    // last one. Numbers and blobs sort apart from text: from the first call out of order on,
    // every call is looked up among all listed.
    bool inOrder_ = true;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_set<std::string, TextHash, std::equal_to<>> listed_;
};

inline constexpr int kUnfilledDistance = 9999999;
inline constexpr int kNoStation = -1;

struct NearestEntry {
    int distanceKm = kUnfilledDistance;
    int stationIndex = kNoStation;  // into StationList; kNoStation when no candidate filled it
};
using NearestStations = std::array<NearestEntry, 7>;

// Longer than any real call or locator: such a row is no station, and would hold memory.
inline constexpr std::size_t kLongestStationText = 64;

// Row callback of the station-list query: keeps the first row of each call, however the
// directory stores it (the same call as integer, text and blob sorts apart).
void CollectStation(StationList& list, std::string_view call, std::string_view locator);

// The distance as the search compares it: in whole kilometres, rounded up.
int WholeKm(GeoPoint own, GeoPoint station);

// Distances compared in whole kilometres (rounded up); ties keep the earlier call.
void InsertCandidate(NearestStations& nearest, int distanceKm, int stationIndex);

// The seven stations nearest to `own`; stations the filter hides take no part.
void SearchNearest(GeoPoint own, const StationDirectory& directory, const StationFilter& filter, StationList& list,
                   NearestStations& nearest);

}  // namespace moltrevane
