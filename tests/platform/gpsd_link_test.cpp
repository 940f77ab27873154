// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <netdb.h>
#include <sys/file.h>

#include <chrono>
#include <fcntl.h>
#include <functional>

#include "core/app_state.h"
#include "support/eventually.h"
#include "gps/gpsd_protocol.h"
#include "support/loopback.h"
#include "platform/posix/posix_gps_source.h"
#include "pseudo_terminal.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kGreeting =
    R"({"class":"VERSION","release":"3.22","rev":"3.22","proto_major":3,"proto_minor":14})" "\n";
const std::string kRmc = "$GPRMC,100021.000,A,4851.8575,N,01148.4834,E,70.19,52.2,061226,,,A*57\r\n";

using testing::Send;

// A gpsd: it greets every connection and answers each request with `answer`.
testing::StandInServer::Serve Gpsd(std::function<std::string(const std::string& request, int fd)> answer) {
    return testing::Answering(std::move(answer), std::string(kGreeting));
}

class GpsdSourceTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    AppState state;

    PosixGpsSource source{folder.path()};

    // COM8 linked to `gpsd` and opened.
    bool OpenThrough(const testing::StandInServer& gpsd) {
        std::filesystem::create_symlink("gpsd:127.0.0.1:" + std::to_string(gpsd.port), folder / "COM8");
        return source.OpenPort(state.nmea, "COM8:", 4800, WhenAbsent::GiveUp);
    }

    // The collected text once it holds `wanted`, or what came by the deadline.
    std::string TextWith(std::string_view wanted, std::chrono::milliseconds limit = 5s) {
        std::string text;
        testing::Eventually([&] { return (text += TakeAllText(state.nmea)).find(wanted) != std::string::npos; }, limit);
        return text;
    }
};

TEST_F(GpsdSourceTest, APortLinkedToGpsdReadsItsNmeaOnly) {
    testing::StandInServer gpsd(Gpsd([](const std::string&, int fd) {
        Send(fd, R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/ttyACM0"}]})" "\n");
        Send(fd, R"({"class":"WATCH","enable":true,"nmea":true})" "\n");
        Send(fd, "{" + std::string(10 * 1024, 'j') + "}\n");
        Send(fd, R"({"class":"TPV","raw":"$GPRMC,1,A"})" "\nno line of gpsd's\n");
        Send(fd, "{\"class\":\"TPV\",\"mode\":3,\"speed\":" + std::string(5000, '1') + "}\n");  // too long to be read
        Send(fd, R"({"class":"TPV","mode":3,"speed":10.0,"track":270.0})" "\n" + kRmc.substr(0, 20));
        return kRmc.substr(20);
    }));
    ASSERT_TRUE(OpenThrough(gpsd));
    EXPECT_EQ(TextWith(kRmc), kRmc);
    EXPECT_EQ(TakeReportedMotion(state.nmea), (GroundMotion{36.0, 270.0}));
    EXPECT_EQ(TakeReportedMotion(state.nmea), GroundMotion{}) << "taken once";
    EXPECT_EQ(gpsd.Heard(), std::vector<std::string>{R"(?WATCH={"enable":true,"json":true,"nmea":true};)"});
    EXPECT_EQ(source.TakeFailure(), "");
    EXPECT_TRUE(source.ClosePort());
}

TEST_F(GpsdSourceTest, GpsdGoingAwayIsTriedOnceASecondAndReadAgain) {
    testing::StandInServer gpsd(Gpsd([](const std::string&, int fd) {
        Send(fd, kRmc);
        return "close";  // hangs up, as a stopped gpsd would
    }));
    ASSERT_TRUE(OpenThrough(gpsd));
    const auto start = std::chrono::steady_clock::now();
    const std::string text = TextWith(kRmc + kRmc + kRmc, 10s);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(text, kRmc + kRmc + kRmc);  // each connection's line, and nothing else
    EXPECT_GE(elapsed, 1900ms);           // three connections take two waits of a second
    EXPECT_EQ(source.TakeFailure(), "");
    source.ClosePort();
}

// A name server that does not answer: it answers by itself only after a while, or when the
// test is done with it.
std::atomic<bool> lookupAsked{false}, lookupAnswered{false}, answerNow{false};

int SilentNameServer(const char*, const char*, const addrinfo*, addrinfo**) {
    lookupAsked = true;
    testing::Eventually([] { return answerNow.load(); }, 3s);
    lookupAnswered = true;
    return EAI_AGAIN;
}

TEST_F(GpsdSourceTest, ASilentNameServerOrGpsdHoldsUpNeitherOpeningNorClosing) {
    std::filesystem::create_symlink("gpsd:gps.example.net", folder / "COM7");
    PosixGpsSource named(folder.path(), {}, SilentNameServer);
    ASSERT_TRUE(named.OpenPort(state.nmea, "COM7:", 4800, WhenAbsent::GiveUp));
    ASSERT_TRUE(testing::Eventually([] { return lookupAsked.load(); }));
    EXPECT_TRUE(named.Reading());
    EXPECT_FALSE(named.ClosePort());
    EXPECT_FALSE(lookupAnswered);  // the stop did not wait for it
    answerNow = true;
    EXPECT_TRUE(testing::Eventually([] { return lookupAnswered.load(); }));  // its thread ends before the test

    testing::StandInServer gpsd(Gpsd([](const std::string&, int) { return ""; }));  // nor does a gpsd that never writes
    ASSERT_TRUE(OpenThrough(gpsd));
    ASSERT_TRUE(testing::Eventually([&] { return gpsd.Heard().size() == 1; }));
    EXPECT_TRUE(source.ClosePort());
    EXPECT_EQ(TakeAllText(state.nmea), "");
}

TEST_F(GpsdSourceTest, ADeviceGpsdHoldsIsReadThroughGpsd) {
    tools::PseudoTerminal receiver;
    receiver.LinkAs(folder.path(), "COM2");
    const UniqueFd held(::open(receiver.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));  // as gpsd holds it
    ASSERT_EQ(::flock(held.get(), LOCK_EX | LOCK_NB), 0);
    // gpsd names the receiver by a link of its own, as /dev/gps0 or /dev/serial/by-id/… are.
    const std::string device = (folder / "gps0").string();
    std::filesystem::create_symlink(receiver.slavePath(), device);
    testing::StandInServer gpsd(Gpsd([&](const std::string&, int) {
        return R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/ttyS9"},{"class":"DEVICE","path":")" + device +
               R"("}]})" "\n" + kRmc;
    }));
    PosixGpsSource viaGpsd(folder.path(), {"127.0.0.1", std::to_string(gpsd.port)});
    ASSERT_TRUE(viaGpsd.OpenPort(state.nmea, "COM2:", 4800, WhenAbsent::GiveUp));
    EXPECT_EQ(TextWith(kRmc), kRmc);
    EXPECT_EQ(gpsd.Heard(), (std::vector<std::string>{"?DEVICES;", R"(?WATCH={"enable":true,"json":true,"nmea":true,"device":")" +
                                                                          device + R"("};)"}));
    EXPECT_EQ(viaGpsd.TakeFailure(), "");
    viaGpsd.ClosePort();
}

}  // namespace
}  // namespace moltrevane
