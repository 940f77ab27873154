// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/list_finder.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

#include "import/station_lists.h"

namespace moltrevane {
namespace {

bool EndsAsAList(const std::filesystem::path& file) {
    std::string name = file.filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::any_of(std::begin(kListEndings), std::end(kListEndings),
                       [&](std::string_view ending) { return name.size() > ending.size() && name.ends_with(ending); });
}

class Search {
public:
    Search(const ListBounds& bounds, const std::atomic<bool>* stop) : bounds_(bounds), stop_(stop) {}

    void Into(const std::filesystem::path& folder, int depth) {
        std::vector<std::filesystem::directory_entry> entries;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (Ended()) break;  // what was read of the folder still counts
            ++looked_;
            if (!it->path().filename().string().starts_with('.')) entries.push_back(*it);
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& entry : entries) {
            if (found_.size() >= bounds_.files) return;
            if (entry.is_regular_file(error) && EndsAsAList(entry.path())) found_.push_back(entry.path());
        }
        if (depth <= 0) return;
        for (const auto& entry : entries)
            if (!entry.is_symlink(error) && entry.is_directory(error) && !Ended()) Into(entry.path(), depth - 1);
    }

    std::vector<std::filesystem::path> Found() && { return std::move(found_); }

private:
    bool Ended() const {
        return found_.size() >= bounds_.files || looked_ >= bounds_.entries || (stop_ && *stop_);
    }

    ListBounds bounds_;
    const std::atomic<bool>* stop_;
    std::size_t looked_ = 0;
    std::vector<std::filesystem::path> found_;
};

}  // namespace

std::vector<ListPlace> ListPlaces(const std::filesystem::path& home) {
    // /media/USER/STICK/lists/: the user's folder, the stick, one folder on it.
    return {{home, 0}, {home / "Downloads", 1}, {"/media", 3}};
}

std::vector<std::filesystem::path> FindStationLists(std::span<const ListPlace> places, const ListBounds& bounds,
                                                    const std::atomic<bool>* stop) {
    Search search(bounds, stop);
    for (const ListPlace& place : places) search.Into(place.folder, place.depth);
    return std::move(search).Found();
}

}  // namespace moltrevane
