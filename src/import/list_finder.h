// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where station lists may lie (the home folder, its Downloads, removable media) and the files
// there whose names end as a list's do: a shallow search, bounded whatever the drive holds.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <span>
#include <vector>

namespace moltrevane {

struct ListPlace {
    std::filesystem::path folder;
    int depth = 0;  // how many folders down a search goes: 0 for the folder's own files
};

struct ListBounds {
    std::size_t files = 100;      // found, at most
    std::size_t entries = 20000;  // looked at, at most: a stick full of photos ends the search too
};

// The user's home, its Downloads and /media (a stick's folders a few levels down).
std::vector<ListPlace> ListPlaces(const std::filesystem::path& home);

// The lists' files in the places' order, each folder's by name. Hidden files and folders,
// symbolic links to folders (a loop) and folders that cannot be read are passed over.
std::vector<std::filesystem::path> FindStationLists(std::span<const ListPlace> places, const ListBounds& bounds = {},
                                                    const std::atomic<bool>* stop = nullptr);

}  // namespace moltrevane
