// SPDX-License-Identifier: GPL-3.0-or-later
// The locator for WSJT-X and JS8Call, without sockets: the messages and what each side does
// with them over (injected) time.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "links/endpoint.h"
#include "links/js8call_link.h"
#include "links/wsjtx_peers.h"
#include "links/wsjtx_protocol.h"
#include "support/golden.h"
#include "support/wsjtx_messages.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using testing::Heartbeat;
using testing::Status;

const SteadyTime t0{};
const LocatorText kJo62qm = ToLocatorText("JO62QM"), kJn58sd = ToLocatorText("JN58SD");
const Endpoint kFirst{{127, 0, 0, 1}, 50001}, kSecond{{127, 0, 0, 1}, 50002};

TEST(WsjtxProtocol, LocationHasTheByteLayoutWsjtxReads) {
    const std::vector<unsigned char> expected = {0xad, 0xbc, 0xcb, 0xda, 0, 0, 0, 3, 0, 0, 0, 0x0b, 0, 0, 0, 6,
                                                 'W',  'S',  'J',  'T',  '-', 'X', 0, 0, 0, 6, 'J', 'O', '6', '2', 'Q', 'M'};
    EXPECT_EQ(LocationDatagram(3, "WSJT-X", "JO62QM"), expected);
}

TEST(WsjtxProtocol, ReadsHeartbeatAndStatusAndRejectsWhatIsNotThem) {
    const auto heartbeat = ReadWsjtxDatagram(Heartbeat("WSJT-X", 3));
    ASSERT_TRUE(heartbeat);
    EXPECT_EQ(heartbeat->type, WsjtxType::Heartbeat);
    EXPECT_EQ(heartbeat->id, "WSJT-X");
    EXPECT_EQ(heartbeat->maxSchema, 3u);
    const auto status = ReadWsjtxDatagram(Status("WSJT-X", "jo62qm"));
    ASSERT_TRUE(status && status->deGrid);
    EXPECT_EQ(*status->deGrid, "jo62qm");

    // A wrong magic, schema 99, an Id of 0xFFFFFFF0 bytes.
    for (const auto& [at, value] : {std::pair{0, 0xac}, {7, 99}, {15, 0xf0}}) {
        std::vector<unsigned char> bytes = Heartbeat("WSJT-X", 3);
        bytes[at] = static_cast<unsigned char>(value);
        if (at == 15) bytes[12] = bytes[13] = bytes[14] = 0xff;
        EXPECT_FALSE(ReadWsjtxDatagram(bytes)) << at;
    }
    const std::vector<unsigned char> whole = Status("WSJT-X", "JO62QM");
    const std::size_t throughDeGrid = whole.size() - 8;  // the DX grid after it is not read
    for (std::size_t size = 0; size < throughDeGrid; ++size)  // cut anywhere before: nothing read
        EXPECT_FALSE(ReadWsjtxDatagram(std::span(whole.data(), size))) << size;
    EXPECT_FALSE(ReadWsjtxDatagram(std::vector<unsigned char>(65536, 0xad)));
}

// What was sent, as "50001: schema 2, WSJT-X, JO62QM" when it is the Location of those fields.
std::string Described(const Datagram& sent) {
    const std::string bytes(sent.bytes.begin(), sent.bytes.end());
    const auto field = [&](std::size_t at) { return bytes.substr(at + 4, static_cast<unsigned char>(bytes.at(at + 3))); };
    const std::string id = field(12), grid = field(16 + id.size());
    const unsigned schema = static_cast<unsigned char>(bytes.at(7));
    return std::to_string(sent.to.port) + ": schema " + std::to_string(schema) + ", " + id + ", " + grid +
           (sent.bytes == LocationDatagram(schema, id, grid) ? "" : ", other bytes");
}

// Each script of tests/links/golden/wsjtx_peers.expected, a fresh table of instances each: a
// line "SECONDS WHAT" is done at that time; what was sent ("->") and the state line ("=") are
// written after it anew and compared with the file.
TEST(WsjtxPeers, EachScriptGoesAsWritten) {
    const auto file = std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/links/golden/wsjtx_peers.expected";
    std::istringstream script(testing::ReadFile(file));
    std::string made;
    std::optional<WsjtxPeers> peers;
    for (std::string line; std::getline(script, line);) {
        if (line.starts_with("# ")) peers.emplace();
        if (line.starts_with("-> ") || line.starts_with("= ")) continue;
        made += line + "\n";
        std::istringstream step(line);
        int seconds = 0;
        std::string what, grid, id;
        unsigned port = 0, schema = 0;
        if (!(step >> seconds >> what)) continue;  // a heading, a remark
        const SteadyTime now = t0 + std::chrono::seconds(seconds);
        const auto from = [&] { return Endpoint{{127, 0, 0, 1}, static_cast<std::uint16_t>(port)}; };
        const auto rest = [&] { return std::getline(step >> std::ws, id) ? id : ""; };
        std::vector<Datagram> sent;
        if (what == "heartbeat" && step >> port >> schema) sent = peers->Receive(Heartbeat(rest(), schema), from(), now);
        else if (what == "status" && step >> port >> grid) sent = peers->Receive(Status(rest(), grid), from(), now);
        else if (what == "close" && step >> port) sent = peers->Receive(testing::Close(rest()), from(), now);
        else if (what == "locator" && step >> grid) sent = peers->SetLocator(ToLocatorText(grid), now);
        else if (what == "state") made += "= " + peers->StateLine(now) + "\n";
        else ADD_FAILURE() << line;
        for (const Datagram& d : sent) made += "-> " + Described(d) + "\n";
    }
    testing::ExpectGolden(file, made);
}

TEST(WsjtxPeers, AFloodOfInventedInstancesKeepsTheTableSmall) {
    WsjtxPeers peers;
    for (int i = 0; i < 10000; ++i)
        peers.Receive(Heartbeat("flood " + std::to_string(i), 3), kFirst, t0 + std::chrono::milliseconds(i));
    EXPECT_EQ(peers.SetLocator(kJo62qm, t0 + 10s).size(), kWsjtxMostInstances);
    EXPECT_EQ(peers.Receive(Heartbeat("WSJT-X", 3), kSecond, t0 + 10s).size(), 1u);  // the real one still gets in
}

TEST(Js8call, TheLineAndItsAnswer) {
    EXPECT_EQ(SetGridLine("JO62QM"), "{\"params\":{},\"type\":\"STATION.SET_GRID\",\"value\":\"JO62QM\"}\n");
    EXPECT_EQ(GridOfAnswer(R"({"type":"STATION.GRID","value":"JO62QM","params":{"_ID":-1}})"), "JO62QM");
    for (const std::string_view junk : {"", "{", "[1,2]", R"({"type":"STATION.GRID","value":7})",
                                        R"({"type":"RX.SPOT","value":"JO62QM"})", "\xff\xfe{\"type\"", "null"})
        EXPECT_FALSE(GridOfAnswer(junk)) << junk;
}

TEST(Js8call, ConnectsSendsAndReadsTheAnswerInAnyPieces) {
    Js8callLink link;
    EXPECT_TRUE(link.WantsConnection(t0));
    EXPECT_FALSE(link.WantsConnection(t0 + 4s));  // absent: tried again at most every 5 s
    EXPECT_EQ(link.StateLine(t0 + 4s), "JS8Call: not running");
    ASSERT_TRUE(link.WantsConnection(t0 + 5s));
    EXPECT_EQ(link.Connected(t0 + 5s), "");  // no position: nothing sent
    EXPECT_EQ(link.StateLine(t0 + 5s), "JS8Call: no position");
    EXPECT_EQ(link.SetLocator(kJo62qm, t0 + 6s), SetGridLine("JO62QM"));
    const std::string answer = "{\"type\":\"STATION.GRID\",\"value\":\"JO62QM\"}\n";
    EXPECT_TRUE(link.Receive(std::string(kJs8callLongestLine, 'x') + "\n", t0 + 6s));  // long, yet a line
    EXPECT_TRUE(link.Receive(std::string_view(answer).substr(0, 10), t0 + 7s));
    EXPECT_TRUE(link.Receive(std::string_view(answer).substr(10), t0 + 7s));
    EXPECT_EQ(link.StateLine(t0 + 7s), "JS8Call: JO62QM confirmed");
    // A stream without a line end is dropped, and tried again as an absent JS8Call is.
    EXPECT_FALSE(link.Receive(std::string(kJs8callLongestLine + 1, '{'), t0 + 8s));
    EXPECT_EQ(link.StateLine(t0 + 8s), "JS8Call: not running");
    EXPECT_FALSE(link.WantsConnection(t0 + 12s));
    ASSERT_TRUE(link.WantsConnection(t0 + 13s));
    EXPECT_EQ(link.Connected(t0 + 13s), SetGridLine("JO62QM"));
    EXPECT_TRUE(link.Receive(answer, t0 + 13s));  // nothing of the dropped stream is kept
    EXPECT_EQ(link.StateLine(t0 + 13s), "JS8Call: JO62QM confirmed");
    link.Disconnected();
    EXPECT_EQ(link.StateLine(t0 + 8s), "JS8Call: not running");
    EXPECT_EQ(link.Connected(t0 + 20s), SetGridLine("JO62QM"));  // after every reconnect
    link.Receive(std::string_view("{\"type\":\"STATION.GRID\",\"value\":\"JN58SD\"}\n"), t0 + 20s);
    EXPECT_EQ(link.StateLine(t0 + 21s), "JS8Call: not accepting: allow setting station information from the APIs");
}

TEST(Endpoint, OnlyNumericAddressesWithAPort) {
    EXPECT_EQ(ParseEndpoint("127.0.0.1:2237"), (Endpoint{{127, 0, 0, 1}, 2237}));
    EXPECT_TRUE(IsMulticast(*ParseEndpoint("224.0.0.1:2237")));
    EXPECT_FALSE(IsMulticast(*ParseEndpoint("127.0.0.1:2237")));
    EXPECT_EQ(EndpointText(*ParseEndpoint("239.255.0.1:65535")), "239.255.0.1:65535");
    for (const std::string_view bad : {"", "localhost:2237", "127.0.0.1", "127.0.0.1:0", "127.0.0.1:65536",
                                       "127.0.0.256:1", "127.0.0:1", "127.0.0.1.1:1", " 127.0.0.1:1", "127.0.0.01:1",
                                       "127.0.0.1:+1", "[::1]:2237"})
        EXPECT_FALSE(ParseEndpoint(bad)) << bad;
}

}  // namespace
}  // namespace moltrevane
