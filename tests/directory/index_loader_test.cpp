#include "directory/index_loader.h"

#include <gtest/gtest.h>

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

TEST(IndexLoader, EndsWhileReadingALargeDirectory) {
    const testing::TempFolder folder;
    std::vector<Row> rows;
    for (int i = 0; i < 20000; ++i) rows.push_back(Row{"C" + std::to_string(i), "JN58SD"});
    testing::WriteDirectory(folder / "Moltrevane.sqlite", rows);
    for (int attempt = 0; attempt < 3; ++attempt) {
        IndexLoader loader(folder / "Moltrevane.sqlite");
        loader.Refresh();  // the read is given up, however far it got
    }
    IndexLoader loader(folder / "Moltrevane.sqlite");
    EXPECT_TRUE(HoldsRowsWithin(loader, rows.size()));
}

}  // namespace
}  // namespace moltrevane
