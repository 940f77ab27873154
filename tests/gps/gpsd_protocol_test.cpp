// SPDX-License-Identifier: GPL-3.0-or-later
// What is asked of gpsd and what its answers say.
#include "gps/gpsd_protocol.h"

#include <gtest/gtest.h>

#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/gpsd.txt: the addresses of link targets, what is asked of gpsd, and what its answers say.
TEST(GpsdProtocol, OfTheTable) {
    testing::ExpectTable("gps/golden/gpsd.txt", [](std::istream& in) -> std::string {
        std::string kind, text;
        in >> kind >> text;
        const auto given = [](std::optional<double> value) { return value ? testing::Exact(*value) : "-"; };
        if (kind == "address") {
            const std::optional<GpsdAddress> address = GpsdAddressOf(text);
            return address ? Describe(*address) : "none";
        }
        if (kind == "watch") return testing::Escaped(text == "-" ? WatchRequest() : WatchRequest(text));
        if (kind == "devices") {
            std::string paths;
            for (const std::string& path : DevicePathsOf(text)) paths += " " + path;
            return paths.empty() ? "none" : paths.substr(1);
        }
        const std::optional<GroundMotion> motion = MotionOfReport(text);
        return motion ? given(motion->speedKmh) + " " + given(motion->courseDeg) : "none";
    });
}

}  // namespace
}  // namespace moltrevane
