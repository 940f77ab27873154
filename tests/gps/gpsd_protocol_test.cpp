// SPDX-License-Identifier: GPL-3.0-or-later
// What is asked of gpsd and what its answers say.
#include "gps/gpsd_protocol.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

TEST(GpsdProtocol, AddressesOfLinkTargets) {
    EXPECT_EQ(GpsdAddressOf("gpsd:"), (GpsdAddress{"127.0.0.1", "2947"}));
    EXPECT_EQ(GpsdAddressOf("gpsd:pi.local"), (GpsdAddress{"pi.local", "2947"}));
    EXPECT_EQ(GpsdAddressOf("gpsd:127.0.0.1:2948"), (GpsdAddress{"127.0.0.1", "2948"}));
    EXPECT_EQ(GpsdAddressOf("gpsd:[::1]:2948"), (GpsdAddress{"::1", "2948"}));
    EXPECT_EQ(Describe(GpsdAddress{"::1", "2948"}), "[::1]:2948");
    for (const char* bad : {"/dev/ttyUSB0", "gps:", "gpsd:host:", "gpsd::2947", "gpsd:host:0", "gpsd:host:65536",
                            "gpsd:host:29x", "gpsd:[::1", "gpsd:[::1]2947"})
        EXPECT_EQ(GpsdAddressOf(bad), std::nullopt) << bad;
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

// gpsd's own speed (m/s) and track, for a receiver whose RMC leaves them empty.
TEST(GpsdProtocol, TheMotionOfATpvReportWithAFix) {
    const struct {
        const char* line;
        std::optional<GroundMotion> motion;
    } cases[] = {
        {R"({"class":"TPV","device":"/dev/pts/1","mode":3,"lat":52.2,"lon":21.0,"track":91.5,"speed":27.5})",
         GroundMotion{99.0, 91.5}},
        {R"({"class":"TPV","mode":2,"speed":0.0,"track":360})", GroundMotion{0.0, 0.0}},
        {R"({"class":"TPV","mode":2,"track":45.0})", GroundMotion{}},                 // no speed: no course either
        {R"({"class":"TPV","mode":3,"speed":10,"track":"east"})", GroundMotion{36.0, std::nullopt}},
        {R"({"class":"TPV","mode":3,"speed":-1,"track":400})", GroundMotion{}},
        {R"({"class":"TPV","mode":1,"speed":27.5,"track":91.5})", std::nullopt},      // no fix
        {R"({"class":"TPV","speed":27.5,"track":91.5})", std::nullopt},
        {R"({"class":"SKY","mode":3,"speed":27.5})", std::nullopt},
        {R"({"class":"TPV","mode":3,"speed":27.5)", std::nullopt},                    // torn off
        {R"(["class":"TPV"])", std::nullopt},
        {R"({"class":"TPV","mode":3,"speed":1e999})", std::nullopt},                  // no number a parser keeps
    };
    for (const auto& c : cases) EXPECT_EQ(MotionOfReport(c.line), c.motion) << c.line;
}

}  // namespace
}  // namespace moltrevane
