// SPDX-License-Identifier: GPL-3.0-or-later
// What is asked of gpsd and what its answers say.
#include "gps/gpsd_protocol.h"

#include <gtest/gtest.h>

#include "support/golden_table.h"

namespace moltrevane {
namespace {

// golden/gpsd.txt: the addresses of link targets, and the motion of gpsd's own reports.
TEST(GpsdProtocol, AddressesAndMotionsOfTheTable) {
    testing::ExpectTable("gps/golden/gpsd.txt", [](std::istream& in) -> std::string {
        std::string kind, text;
        in >> kind >> text;
        const auto given = [](std::optional<double> value) { return value ? testing::Exact(*value) : "-"; };
        if (kind == "address") {
            const std::optional<GpsdAddress> address = GpsdAddressOf(text);
            return address ? address->host + " " + address->port : "none";
        }
        const std::optional<GroundMotion> motion = MotionOfReport(text);
        return motion ? given(motion->speedKmh) + " " + given(motion->courseDeg) : "none";
    });
    EXPECT_EQ(Describe(GpsdAddress{"::1", "2948"}), "[::1]:2948");
}

TEST(GpsdProtocol, RequestsAndReplies) {
    EXPECT_EQ(WatchRequest(), "?WATCH={\"enable\":true,\"json\":true,\"nmea\":true};\n");
    EXPECT_EQ(WatchRequest(R"(/dev/a"b\c)"), R"(?WATCH={"enable":true,"json":true,"nmea":true,"device":"/dev/a\"b\\c"};)" "\n");
    EXPECT_EQ(DevicePathsOf(R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/pts/0","driver":"NMEA0183"},)"
                            R"({"class":"DEVICE","path":"\/dev\/ttyACM0"}]})"),
              (std::vector<std::string>{"/dev/pts/0", "/dev/ttyACM0"}));
    EXPECT_TRUE(DevicePathsOf(R"({"class":"TPV","path":"/dev/pts/0"})").empty());
    EXPECT_TRUE(DevicePathsOf(R"({"class":"DEVICES","devices":[{"path":"/dev/unterminated)").empty());
}

}  // namespace
}  // namespace moltrevane
