// SPDX-License-Identifier: GPL-3.0-or-later
// The worker against stand-ins for WSJT-X and JS8Call on loopback. Every wait is for a
// condition, with a deadline.
#include <gtest/gtest.h>

#include "links/wsjtx_protocol.h"
#include "support/eventually.h"
#include "support/loopback.h"
#include "platform/posix/network_locator_links.h"
#include "support/wsjtx_messages.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using testing::Bound;
using testing::Eventually;
using testing::FreePort;
using testing::Heartbeat;
using testing::Loopback;
using testing::Readable;
using testing::Status;

const LocatorText kJo62qm = ToLocatorText("JO62QM");

// One WSJT-X instance: sends from its own port, receives what comes back there.
struct WsjtxStandIn {
    std::uint16_t port = 0;
    UniqueFd fd = Bound(SOCK_DGRAM, port);
    void Send(const std::vector<unsigned char>& bytes, std::uint16_t to, const char* address = "127.0.0.1") const {
        const sockaddr_in a = Loopback(to, address);
        ::sendto(fd.get(), bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    }
    // Sent again each second until something comes back, as a flood may fill the socket's buffer.
    std::vector<unsigned char> Ask(const std::vector<unsigned char>& bytes, std::uint16_t to) const {
        for (int tries = 0; tries < 20; ++tries) {
            Send(bytes, to);
            if (Readable(fd.get(), 1s)) break;
        }
        return Receive();
    }
    std::vector<unsigned char> Receive() const {
        std::vector<unsigned char> bytes(2048);
        const ssize_t size = Readable(fd.get(), 20s) ? ::recv(fd.get(), bytes.data(), bytes.size(), 0) : 0;
        bytes.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
        return bytes;
    }
};

class NetworkLinksTest : public ::testing::Test {
protected:
    NetworkLocatorLinks links;
    LinkSettings settings;
    bool Shows(const std::string& wsjtx, const std::string& js8call = "JS8Call: off") {
        return Eventually([&] { return links.States() == LinkStates{wsjtx, js8call}; }, 20s);
    }
    // WSJT-X on at `address`, until the links show `state`.
    bool WsjtxAt(const std::string& address, const std::string& state) {
        settings.wsjtx = true;
        settings.wsjtxAddress = address;
        links.Publish(settings, kJo62qm);
        return Shows(state);
    }
    // WSJT-X on at a free port of the address; listening once nothing is heard yet.
    std::uint16_t ListenForWsjtx(const std::string& address) {
        const std::uint16_t port = FreePort(SOCK_DGRAM);
        EXPECT_TRUE(WsjtxAt(address + ":" + std::to_string(port), "WSJT-X: not heard"));
        return port;
    }
};

TEST_F(NetworkLinksTest, WsjtxInstancesGetTheLocatorAndConfirmItPastHostileDatagrams) {
    const std::uint16_t port = ListenForWsjtx("127.0.0.1");

    WsjtxStandIn wsjtx, attacker;
    std::vector<unsigned char> junk(65507, 0xad);  // the largest datagram, then a flood of others
    attacker.Send(junk, port);
    for (int i = 0; i < 2000; ++i) {
        std::vector<unsigned char> flood = Heartbeat("flood " + std::to_string(i), 3);
        flood[7] = 99;  // schema 99
        attacker.Send(flood, port);
    }

    EXPECT_EQ(wsjtx.Ask(Heartbeat("WSJT-X", 3), port), LocationDatagram(3, "WSJT-X", "JO62QM"));
    ASSERT_TRUE(Shows("WSJT-X: JO62QM sent"));
    wsjtx.Send(Status("WSJT-X", "JO62QM"), port);
    EXPECT_TRUE(Shows("WSJT-X: JO62QM confirmed"));

    EXPECT_FALSE(Readable(attacker.fd.get(), 0s));  // nothing went to what was no instance
}

TEST_F(NetworkLinksTest, WhyItCannotListenIsNamed) {
    std::uint16_t port = 0;
    const UniqueFd other = Bound(SOCK_DGRAM, port);
    EXPECT_TRUE(WsjtxAt("127.0.0.1:" + std::to_string(port), "WSJT-X: port " + std::to_string(port) + " taken by another program"));
    EXPECT_TRUE(WsjtxAt("localhost:2237", "WSJT-X: address not valid"));
    EXPECT_TRUE(WsjtxAt("192.0.2.1:2237", "WSJT-X: 192.0.2.1 is no address of this computer"));  // TEST-NET-1
}

// Joined on loopback and shared: another listener on the group gets the same datagrams.
TEST_F(NetworkLinksTest, AMulticastGroupIsSharedWithOtherListeners) {
    const std::uint16_t port = ListenForWsjtx("239.255.42.1");
    std::uint16_t sharedPort = port;
    const UniqueFd gridTracker = Bound(SOCK_DGRAM, sharedPort, "239.255.42.1", true);
    ASSERT_TRUE(gridTracker);
    ip_mreq group{};
    ::inet_pton(AF_INET, "239.255.42.1", &group.imr_multiaddr);
    group.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::setsockopt(gridTracker.get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group), 0);

    WsjtxStandIn wsjtx;
    const in_addr loopback{htonl(INADDR_LOOPBACK)};
    ::setsockopt(wsjtx.fd.get(), IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback);
    wsjtx.Send(Heartbeat("WSJT-X", 3), port, "239.255.42.1");
    EXPECT_EQ(wsjtx.Receive(), LocationDatagram(3, "WSJT-X", "JO62QM"));
    EXPECT_TRUE(Readable(gridTracker.get(), 5s));
}

std::string SetGrid(const std::string& grid) { return R"({"params":{},"type":"STATION.SET_GRID","value":")" + grid + R"("})"; }

TEST_F(NetworkLinksTest, Js8callIsToldConfirmsAndIsFoundAgainWhenItComesBack) {
    const std::uint16_t port = FreePort(SOCK_STREAM);
    settings.js8call = true;
    settings.js8callAddress = "127.0.0.1:" + std::to_string(port);
    const auto heard = [](testing::StandInServer& js8call, const std::vector<std::string>& lines) {
        return Eventually([&] { return js8call.Heard() == lines; }, 20s);
    };
    {
        int told = 0;  // the first connection gets chatter, then a stream without end; the next the grid
        testing::StandInServer js8call(testing::Answering([&](const std::string&, int) {
            return ++told == 1 ? "{\"type\":\"PING\"}\n" + std::string(100000, '{')
                               : std::string(R"({"type":"STATION.GRID","value":"JO62QM","params":{}})" "\n");
        }), port);
        links.Publish(settings, kJo62qm);
        ASSERT_TRUE(heard(js8call, {SetGrid("JO62QM")}));
        EXPECT_TRUE(Shows("WSJT-X: off", "JS8Call: not running"));  // dropped, and hung up on: the next connection is served
        EXPECT_TRUE(heard(js8call, {SetGrid("JO62QM"), SetGrid("JO62QM")}));  // tried again
        EXPECT_TRUE(Shows("WSJT-X: off", "JS8Call: JO62QM confirmed"));
    }
    EXPECT_TRUE(Shows("WSJT-X: off", "JS8Call: not running"));
    testing::StandInServer back(testing::Answering([](const std::string&, int) { return std::string(); }), port);
    EXPECT_TRUE(heard(back, {SetGrid("JO62QM")}));
    links.Publish(settings, ToLocatorText("JN58SD"));
    EXPECT_TRUE(heard(back, {SetGrid("JO62QM"), SetGrid("JN58SD")}));
}

}  // namespace
}  // namespace moltrevane
