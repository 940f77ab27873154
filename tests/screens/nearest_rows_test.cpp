// SPDX-License-Identifier: GPL-3.0-or-later
// The rows kept in order of their distance between searches.
#include "screens/nearest_rows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace moltrevane {
namespace {

std::optional<RowStation> Listed(const char* call, const char* locator) {
    return RowStation{StationKey{call}, StationOf({call, locator})};
}

std::string Calls(const RepeaterRows& rows) {
    std::string calls;
    for (const auto& row : rows.rows) calls += (calls.empty() ? "" : " ") + (row ? row->key.call : std::string("-"));
    return calls;
}

std::string Calls(const std::vector<MeasuredStation>& listed) {
    std::string calls;
    for (const MeasuredStation& m : listed) calls += (calls.empty() ? "" : " ") + m.station.call + " " + std::to_string(std::lround(m.km));
    return calls;
}

TEST(KeepInDistanceOrder, NearestFirstThenStationsWithoutAPlaceThenEmptyRows) {
    RepeaterRows rows;
    rows.rows = {Listed("FAR", "JO31OO"), std::nullopt,           Listed("NEAR", "JO31OM"), Listed("NOWHERE", "J"),
                 Listed("MID", "JO31ON"), std::nullopt,           Listed("TOO", "JO31OM")};
    const GeoPoint home = PositionFromLocator("JO31OM"), north = PositionFromLocator("JO31OO");
    EXPECT_EQ(Calls(KeepInDistanceOrder(rows, home)), "NEAR 0 TOO 0 MID 5 FAR 9");
    EXPECT_EQ(Calls(rows), "NEAR TOO MID FAR NOWHERE - -") << "a tie keeps its order";
    EXPECT_EQ(rows.reorders, 1);
    KeepInDistanceOrder(rows, home);
    EXPECT_EQ(rows.reorders, 1) << "the same order is no new one";
    EXPECT_EQ(Calls(KeepInDistanceOrder(rows, north)), "FAR 0 MID 5 NEAR 9 TOO 9");
    EXPECT_EQ(rows.reorders, 2);

    rows.typing = 2;  // a call being typed into the third row: the rows stay where they are
    EXPECT_EQ(Calls(KeepInDistanceOrder(rows, home)), "FAR 9 MID 5 NEAR 0 TOO 0");
    EXPECT_EQ(Calls(rows), "FAR MID NEAR TOO NOWHERE - -");
    rows.typing.reset();
    EXPECT_EQ(Calls(KeepInDistanceOrder(rows, std::nullopt)), "") << "nothing measured without an own point";
    EXPECT_EQ(Calls(rows), "FAR MID NEAR TOO NOWHERE - -");
    EXPECT_EQ(rows.reorders, 2);
}

}  // namespace
}  // namespace moltrevane
