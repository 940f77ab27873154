// SPDX-License-Identifier: GPL-3.0-or-later
// What speech says of a station, a square, a call.
#include <gtest/gtest.h>

#include "core/spoken_texts.h"
#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/spoken.txt: calls, numbers, squares, and the nearest station with its channel, mode,
// tone, distance and way.
TEST(SpokenTexts, OfTheTable) {
    testing::ExpectTable("core/golden/spoken.txt", [](std::istream& in) {
        std::string kind, text, heading, placed;
        in >> kind;
        if (kind == "nearest") {
            MeasuredStation measured;
            in >> measured.km >> measured.bearingDeg >> heading >> placed >> std::ws;
            StoredRow row;
            for (std::string& field : row) std::getline(in, field, '|');
            measured.station = StationOf(row);
            measured.station.fromSquare = placed == "square";
            const std::string spoken = SpokenNearest(measured, heading == "-" ? std::nullopt : std::optional(std::stod(heading)));
            // Nothing a speech program could take for an option or a markup.
            EXPECT_EQ(spoken.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ,-"),
                      std::string::npos) << spoken;
            EXPECT_EQ(spoken.find(" -"), std::string::npos) << spoken;
            return spoken;
        }
        std::getline(in >> std::ws, text);
        return kind == "call" ? SpokenCall(text) : kind == "digits" ? SpokenDigits(text) : SpokenSquare(text);
    });
}

}  // namespace
}  // namespace moltrevane
