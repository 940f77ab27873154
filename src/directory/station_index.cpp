// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/station_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "directory/chord_bound.h"
#include "directory/nearest_search.h"

namespace moltrevane {
namespace {

// The station list's order, with the columns a filter reads and the site.
std::string IndexStatement(std::string_view siteColumns) {
    return "SELECT call, loc, aus, mode, " + std::string(siteColumns) + " FROM repeater ORDER BY call, loc";
}

// Reading a million stations takes far longer than a search may: the load runs on a worker.
constexpr std::chrono::seconds kLoadTimeLimit{60};

constexpr std::size_t kSeven = std::tuple_size_v<NearestStations>;

template <typename Vector>
double Axis(const Vector& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

}  // namespace

class StationIndex::Builder {
public:
    explicit Builder(StationIndex& index) : index_(index) {}

    void Add(RowValues row) {
        if (row.size() < 6) return;
        const std::string_view call = row[0], locator = row[1];
        if (call.size() > kLongestStationText || locator.size() > kLongestStationText) return;  // as the search does
        const auto rowNumber = static_cast<std::uint32_t>(index_.rows_.size());
        index_.rows_.push_back({static_cast<std::uint32_t>(index_.text_.size()), static_cast<std::uint8_t>(call.size()),
                                static_cast<std::uint8_t>(locator.size()), ModesOf(row[3]), BandOf(row[2]), TypeOf(row[3]),
                                EarlierRowOf(call)});
        index_.text_.append(call).append(locator);
        if (!inOrder_) lastRowOf_[std::string(call)] = rowNumber + 1;
        const std::optional<GeoPoint> site = IsValidLocator(locator) ? SiteOf(locator, row[4], row[5]) : std::nullopt;
        index_.sites_.push_back(site.value_or(GeoPoint{}));
        if (!site) return;  // no valid locator, no place: as the search has it
        const GeoPoint place = *site;
        if (std::fabs(place.latitude) > 90) {
            index_.elsewhere_.push_back(rowNumber);
            return;
        }
        const UnitVector v = OnSphere(place);
        index_.tree_.push_back({static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z), rowNumber});
    }

    void Finish() {
        index_.text_.shrink_to_fit();
        index_.rows_.shrink_to_fit();
        index_.tree_.shrink_to_fit();
        index_.sites_.shrink_to_fit();
        Split(index_.tree_.begin(), index_.tree_.end(), 0);
    }

private:
    // Calls come in byte order from a directory of text, so a call's rows follow each other;
    // numbers and blobs sort apart, and from the first call out of order on, every call's last
    // row is kept by name.
    std::uint32_t EarlierRowOf(std::string_view call) {
        const auto& rows = index_.rows_;
        if (rows.empty()) return 0;
        const std::string_view last = index_.Call(static_cast<std::uint32_t>(rows.size() - 1));
        if (inOrder_ && call < last) {
            inOrder_ = false;
            for (std::uint32_t r = 0; r < rows.size(); ++r) lastRowOf_[std::string(index_.Call(r))] = r + 1;
        }
        if (inOrder_) return call == last ? static_cast<std::uint32_t>(rows.size()) : 0;
        const auto found = lastRowOf_.find(std::string(call));
        return found == lastRowOf_.end() ? 0 : found->second;
    }

    static void Split(std::vector<Point>::iterator begin, std::vector<Point>::iterator end, int axis) {
        if (end - begin < 2) return;
        const auto middle = begin + (end - begin) / 2;
        std::nth_element(begin, middle, end, [axis](const Point& a, const Point& b) { return Axis(a, axis) < Axis(b, axis); });
        Split(begin, middle, (axis + 1) % 3);
        Split(middle + 1, end, (axis + 1) % 3);
    }

    StationIndex& index_;
    bool inOrder_ = true;
    std::unordered_map<std::string, std::uint32_t> lastRowOf_;
};

class StationIndex::Search {
public:
    Search(const StationIndex& index, GeoPoint own, const StationFilter& filter)
        : index_(index), own_(own), filter_(filter), ownVector_(OnSphere(own)) {}

    NearStations Run() {
        if (std::fabs(own_.latitude) <= 90) {
            Visit(0, index_.tree_.size(), 0);
        } else {  // an own place off the globe has no neighbours in space
            for (const Point& point : index_.tree_) Consider(point.row);
        }
        for (const std::uint32_t row : index_.elsewhere_) Consider(row);
        NearStations result;
        for (const Found& found : found_)
            result.push_back({std::string(index_.Call(found.row)), std::string(index_.Locator(found.row)), found.km});
        return result;
    }

private:
    struct Found {
        int km;
        std::uint32_t row;  // the earlier row wins a tie, as the earlier call does in the scan
        auto operator<=>(const Found&) const = default;
    };

    void Visit(std::size_t begin, std::size_t end, int axis) {
        if (begin >= end) return;
        const std::size_t middle = begin + (end - begin) / 2;
        const Point& point = index_.tree_[middle];
        const double gap = Axis(ownVector_, axis) - Axis(point, axis);
        const int next = (axis + 1) % 3;
        if (gap < 0) {
            Visit(begin, middle, next);
        } else {
            Visit(middle + 1, end, next);
        }
        if (gap * gap > squaredChordLimit_) return;
        if (Chord(ownVector_, point) <= squaredChordLimit_) Consider(point.row);
        if (gap < 0) {
            Visit(middle + 1, end, next);
        } else {
            Visit(begin, middle, next);
        }
    }

    void Consider(std::uint32_t row) {
        if (!index_.StandsForCall(row, filter_)) return;
        const Found candidate{WholeKm(own_, index_.sites_[row]), row};
        if (found_.size() == kSeven && !(candidate < found_.back())) return;
        if (found_.size() == kSeven) found_.pop_back();
        found_.insert(std::upper_bound(found_.begin(), found_.end(), candidate), candidate);
        if (found_.size() == kSeven) squaredChordLimit_ = SquaredChordWithin(found_.back().km);
    }

    const StationIndex& index_;
    const GeoPoint own_;
    const StationFilter& filter_;
    const UnitVector ownVector_;
    std::vector<Found> found_;
    double squaredChordLimit_ = std::numeric_limits<double>::infinity();
};

std::optional<StationIndex> StationIndex::Load(const std::filesystem::path& directoryFile,
                                              const std::atomic<bool>* cancelled) {
    StationIndex index;
    Builder builder(index);
    const StationDirectory directory(directoryFile, kLoadTimeLimit, cancelled);
    if (!directory.RunQuery(IndexStatement(directory.SiteColumns()), [&](RowValues row) { builder.Add(row); }))
        return std::nullopt;
    builder.Finish();
    return index;
}

NearStations StationIndex::Nearest(GeoPoint own, const StationFilter& filter) const { return Search(*this, own, filter).Run(); }

std::string_view StationIndex::Call(std::uint32_t row) const {
    return std::string_view(text_).substr(rows_[row].textStart, rows_[row].callSize);
}

std::string_view StationIndex::Locator(std::uint32_t row) const {
    const Row& r = rows_[row];
    return std::string_view(text_).substr(r.textStart + r.callSize, r.locatorSize);
}

bool StationIndex::Shown(std::uint32_t row, const StationFilter& filter) const {
    const Row& r = rows_[row];
    return filter.ShowsBand(r.band) && filter.ShowsType(r.type) && filter.ShowsModes(r.modes);
}

bool StationIndex::StandsForCall(std::uint32_t row, const StationFilter& filter) const {
    if (!Shown(row, filter)) return false;
    for (std::uint32_t earlier = rows_[row].earlierOfCall; earlier != 0; earlier = rows_[earlier - 1].earlierOfCall)
        if (Shown(earlier - 1, filter)) return false;
    return true;
}

}  // namespace moltrevane
