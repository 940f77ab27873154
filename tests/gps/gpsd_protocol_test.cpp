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
    EXPECT_EQ(WatchRequest(), "?WATCH={\"enable\":true,\"nmea\":true};\n");
    EXPECT_EQ(WatchRequest(R"(/dev/a"b\c)"), R"(?WATCH={"enable":true,"nmea":true,"device":"/dev/a\"b\\c"};)" "\n");
    EXPECT_EQ(DevicePathsOf(R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/pts/0","driver":"NMEA0183"},)"
                            R"({"class":"DEVICE","path":"\/dev\/ttyACM0"}]})"),
              (std::vector<std::string>{"/dev/pts/0", "/dev/ttyACM0"}));
    EXPECT_TRUE(DevicePathsOf(R"({"class":"TPV","path":"/dev/pts/0"})").empty());
    EXPECT_TRUE(DevicePathsOf(R"({"class":"DEVICES","devices":[{"path":"/dev/unterminated)").empty());
}

}  // namespace
}  // namespace moltrevane
