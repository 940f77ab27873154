// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory's stations held in memory, so that the seven nearest are found in
// microseconds instead of a scan of the file: a search can then run every few seconds while
// driving, and over a million stations.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/station_directory.h"
#include "directory/station_kind.h"
#include "geo/locator.h"

namespace moltrevane {

// One of the seven: the call, its locator as stored, and the distance in whole kilometres.
struct NearStation {
    std::string call;
    std::string locator;
    int distanceKm = 0;
};

// The answer of a search: the same seven, in the same order, as SearchNearest gives over the
// file the index was read from (measured to each row's site where the row has one, which the
// scan, reading locators only, does not know) (whole kilometres rounded up, ties to the earlier call, each
// call once by its first row the filter shows); fewer when fewer stations have a place.
using NearStations = std::vector<NearStation>;

class StationIndex {
public:
    // The rows of the station list's query with the columns the filter reads, in its order.
    // Nothing when the query fails or is cancelled: a directory read in part would list wrong
    // stations.
    static std::optional<StationIndex> Load(const std::filesystem::path& directoryFile,
                                            const std::atomic<bool>* cancelled = nullptr);

    NearStations Nearest(GeoPoint own, const StationFilter& filter) const;
    std::size_t RowCount() const { return rows_.size(); }

private:
    struct Row {
        std::uint32_t textStart;         // call, then locator, in text_
        std::uint8_t callSize, locatorSize;
        VoiceModes modes;
        Band band;
        StationType type;
        std::uint32_t earlierOfCall;     // the previous row of the same call + 1, 0 for none
    };
    // A station with a place on the earth, as a point of the unit sphere.
    struct Point {
        float x, y, z;
        std::uint32_t row;
    };
    class Builder;
    class Search;

    std::string_view Call(std::uint32_t row) const;
    std::string_view Locator(std::uint32_t row) const;
    bool Shown(std::uint32_t row, const StationFilter& filter) const;
    // The row stands for its call: the filter shows it and no earlier row of the call.
    bool StandsForCall(std::uint32_t row, const StationFilter& filter) const;

    std::string text_;
    std::vector<Row> rows_;
    std::vector<GeoPoint> sites_;    // by row: where it is measured to (SiteOf)
    std::vector<Point> tree_;        // a k-d tree in place: each range's middle point splits it
    std::vector<std::uint32_t> elsewhere_;  // valid locators off the globe (latitude past a pole)
};

}  // namespace moltrevane
