// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/index_loader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "support/directory_fixture.h"
#include "support/eventually.h"

namespace moltrevane {
namespace {

using testing::Row;

// Refreshes, as the cycle would, until the index holds `rows` rows.
bool HoldsRowsWithin(IndexLoader& loader, std::size_t rows) {
    return testing::Eventually([&] {
        loader.Refresh();
        const auto index = loader.Current();
        return index && index->RowCount() == rows;
    }, std::chrono::seconds(20));
}

TEST(IndexLoader, ReadsTheFileAndReadsItAgainWhenReplaced) {
    const testing::TempFolder folder;
    const auto file = folder / "Moltrevane.sqlite";
    IndexLoader loader(file);
    EXPECT_FALSE(loader.Current());  // nothing read yet: a search says it is loading
    EXPECT_FALSE(loader.UpToDate());
    EXPECT_TRUE(HoldsRowsWithin(loader, 0)) << "a missing directory is one without stations";

    testing::WriteDirectory(folder / "new.sqlite", {Row{"DB0A", "JN58SD"}, Row{"DB0B", "JO62QM"}});
    std::filesystem::rename(folder / "new.sqlite", file);  // as an import replaces it
    EXPECT_TRUE(HoldsRowsWithin(loader, 2));
    EXPECT_TRUE(loader.UpToDate());
    EXPECT_EQ(loader.Current()->Nearest(PositionFromLocator("JO62QM"), StationFilter{}).front().call, "DB0B");

    testing::WriteDirectory(folder / "new.sqlite", {Row{"DB0C", "JN58SD"}});
    std::filesystem::rename(folder / "new.sqlite", file);
    EXPECT_TRUE(HoldsRowsWithin(loader, 1));
}

// A large directory: a loader ends while reading it, however far it got. A sync tool touching
// the file again and again: the read begun is not given up, searches are answered from the
// index it made, and a directory put in meanwhile is read once the file is still.
TEST(IndexLoader, EndsWhileReadingAndAFileTouchedAgainAndAgainIsStillSearched) {
    const testing::TempFolder folder;
    const auto file = folder / "Moltrevane.sqlite";
    std::vector<Row> rows;
    for (int i = 0; i < 20000; ++i) rows.push_back(Row{"C" + std::to_string(i), "JN58SD"});
    testing::WriteDirectory(file, rows);
    for (int attempt = 0; attempt < 3; ++attempt) IndexLoader(file).Refresh();
    IndexLoader loader(file);
    long stamp = 1'000'000'000;
    const auto touched = [&] {
        const timespec times[2] = {{0, UTIME_NOW}, {++stamp, 0}};
        ::utimensat(AT_FDCWD, file.c_str(), times, 0);
        loader.Refresh();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    EXPECT_TRUE(testing::Eventually([&] {
        touched();
        return loader.UpToDate() && loader.Current()->RowCount() == rows.size();
    }, std::chrono::seconds(30))) << "no search answered while the file kept changing";
    testing::WriteDirectory(folder / "new.sqlite", {Row{"DB0C", "JN58SD"}});
    std::filesystem::rename(folder / "new.sqlite", file);
    for (int i = 0; i < 50; ++i) touched();
    EXPECT_TRUE(HoldsRowsWithin(loader, 1));
}

}  // namespace
}  // namespace moltrevane
