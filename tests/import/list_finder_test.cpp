// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/list_finder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using Names = std::vector<std::string>;

// Endings in any case, as deep as asked; hidden files and folders, the link back up, places
// that are no folder and an unreadable folder passed over; the bounds kept.
TEST(ListFinder, FindsTheListsWithinItsBoundsAndPassesOverTheRest) {
    const testing::TempFolder root;
    for (const char* folder : {".cache", "sub/deep", "locked"}) std::filesystem::create_directories(root / folder);
    for (const char* file : {"A.CSV", "b.json", "notes.txt", ".hidden.csv", ".cache/x.csv", "sub/c.Xml", "sub/deep/d.rxf", "locked/e.csv"})
        testing::WriteFile(root / file, "call\n");
    std::filesystem::create_directory_symlink(root.path(), root / "sub/loop");
    const auto found = [&](int depth, ListBounds bounds = {}) {
        const std::vector<ListPlace> places = {{root / "missing", 2}, {root / "notes.txt", 2}, {root.path(), depth}};
        Names names;
        for (const auto& file : FindStationLists(places, bounds)) names.push_back(file.lexically_relative(root.path()));
        return names;
    };
    EXPECT_EQ(found(0), (Names{"A.CSV", "b.json"}));
    EXPECT_EQ(found(1), (Names{"A.CSV", "b.json", "locked/e.csv", "sub/c.Xml"}));
    EXPECT_EQ(found(5), (Names{"A.CSV", "b.json", "locked/e.csv", "sub/c.Xml", "sub/deep/d.rxf"}));
    EXPECT_EQ(found(5, {.files = 2}), (Names{"A.CSV", "b.json"}));
    EXPECT_EQ(found(5, {.files = 100, .entries = 7}), (Names{"A.CSV", "b.json"}));  // the root's 7 entries
    chmod((root / "locked").c_str(), 0);
    const Names unlocked = found(5);
    EXPECT_EQ(unlocked.size(), geteuid() == 0 ? 5u : 4u);  // root reads it still
    EXPECT_EQ(unlocked.back(), "sub/deep/d.rxf");
    chmod((root / "locked").c_str(), 0755);
}

}  // namespace
}  // namespace moltrevane
