// SPDX-License-Identifier: GPL-3.0-or-later
// The locator for WSJT-X and JS8Call, without sockets: the messages and what each side does
// with them over (injected) time.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "links/endpoint.h"
#include "links/js8call_link.h"
#include "links/wsjtx_peers.h"
#include "links/wsjtx_protocol.h"
#include "support/golden_table.h"
#include "support/wsjtx_messages.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using testing::Heartbeat;
using testing::Status;

const SteadyTime t0{};
const LocatorText kJo62qm = ToLocatorText("JO62QM");
const Endpoint kFirst{{127, 0, 0, 1}, 50001}, kSecond{{127, 0, 0, 1}, 50002};

TEST(WsjtxProtocol, LocationHasTheByteLayoutWsjtxReads) {
    const std::vector<unsigned char> expected = {0xad, 0xbc, 0xcb, 0xda, 0, 0, 0, 3, 0, 0, 0, 0x0b, 0, 0, 0, 6,
                                                 'W',  'S',  'J',  'T',  '-', 'X', 0, 0, 0, 6, 'J', 'O', '6', '2', 'Q', 'M'};
    EXPECT_EQ(LocationDatagram(3, "WSJT-X", "JO62QM"), expected);
}

// What a heartbeat and a status say is read in golden/wsjtx_peers.expected; here what is not
// one is refused.
TEST(WsjtxProtocol, RejectsWhatIsNotAHeartbeatOrStatus) {
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

// Plays tests/links/golden/NAME.expected, each "# " heading afresh (`fresh`): a line "SECONDS
// WHAT …" is done by `step` at that time, which writes what came of it ("-> " what was sent,
// "= " a state); those lines are written anew and the whole compared with the file.
using Step = std::function<std::string(SteadyTime, const std::string& what, std::istringstream& rest)>;
void Play(const std::string& name, const std::function<void()>& fresh, const Step& step) {
    const auto file = std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests/links/golden" / (name + ".expected");
    std::istringstream script(testing::ReadFile(file));
    std::string made;
    for (std::string line; std::getline(script, line);) {
        if (line.starts_with("# ")) fresh();
        if (line.starts_with("-> ") || line.starts_with("= ")) continue;
        std::istringstream rest(line);
        int seconds = 0;
        std::string what;
        made += line + "\n";
        if (rest >> seconds >> what) made += step(t0 + std::chrono::seconds(seconds), what, rest);  // else a heading, a remark
    }
    testing::ExpectGolden(file, made);
}

// The words after those read.
std::string Rest(std::istringstream& rest) {
    std::string text;
    std::getline(rest >> std::ws, text);
    return text;
}

TEST(WsjtxPeers, EachScriptGoesAsWritten) {
    std::optional<WsjtxPeers> peers;
    Play("wsjtx_peers", [&] { peers.emplace(); }, [&](SteadyTime now, const std::string& what, std::istringstream& rest) {
        std::string grid;
        unsigned port = 0, schema = 0;
        const auto from = [&] { return Endpoint{{127, 0, 0, 1}, static_cast<std::uint16_t>(port)}; };
        std::vector<Datagram> sent;
        if (what == "heartbeat" && rest >> port >> schema) sent = peers->Receive(Heartbeat(Rest(rest), schema), from(), now);
        else if (what == "status" && rest >> port >> grid) sent = peers->Receive(Status(Rest(rest), grid), from(), now);
        else if (what == "close" && rest >> port) sent = peers->Receive(testing::Close(Rest(rest)), from(), now);
        else if (what == "locator" && rest >> grid) sent = peers->SetLocator(ToLocatorText(grid), now);
        else if (what == "state") return "= " + peers->StateLine(now) + "\n";
        else ADD_FAILURE() << what;
        std::string made;
        for (const Datagram& d : sent) made += "-> " + Described(d) + "\n";
        return made;
    });
}

TEST(WsjtxPeers, AFloodOfInventedInstancesKeepsTheTableSmall) {
    WsjtxPeers peers;
    for (int i = 0; i < 10000; ++i)
        peers.Receive(Heartbeat("flood " + std::to_string(i), 3), kFirst, t0 + std::chrono::milliseconds(i));
    EXPECT_EQ(peers.SetLocator(kJo62qm, t0 + 10s).size(), kWsjtxMostInstances);
    EXPECT_EQ(peers.Receive(Heartbeat("WSJT-X", 3), kSecond, t0 + 10s).size(), 1u);  // the real one still gets in
}

// "line TEXT" (escaped) comes with its end, "piece TEXT" without; "longest C" is a line as long
// as any may be, "overlong C" one byte more without an end.
TEST(Js8call, EachScriptGoesAsWritten) {
    std::optional<Js8callLink> link;
    Play("js8call", [&] { link.emplace(); }, [&](SteadyTime now, const std::string& what, std::istringstream& rest) {
        const auto sent = [](const std::string& line) { return line.empty() ? line : "-> " + line; };
        const auto received = [&](const std::string& bytes) { return link->Receive(bytes, now) ? "" : "= dropped\n"; };
        const std::string text = Rest(rest);
        if (what == "wants") return std::string(link->WantsConnection(now) ? "= yes\n" : "= no\n");
        if (what == "connected") return sent(link->Connected(now));
        if (what == "disconnected") return (link->Disconnected(), std::string());
        if (what == "locator") return sent(link->SetLocator(ToLocatorText(text), now));
        if (what == "line") return std::string(received(testing::Unescaped(text) + "\n"));
        if (what == "piece") return std::string(received(text));
        if (what == "longest") return std::string(received(std::string(kJs8callLongestLine, text.at(0)) + "\n"));
        if (what == "overlong") return std::string(received(std::string(kJs8callLongestLine + 1, text.at(0))));
        if (what == "state") return "= " + link->StateLine(now) + "\n";
        ADD_FAILURE() << what;
        return std::string();
    });
}

// golden/endpoints.txt: only numeric addresses with a port are read.
TEST(Endpoint, OfTheTable) {
    testing::ExpectTable("links/golden/endpoints.txt", [](std::istream& in) {
        std::string text;
        std::getline(in, text);
        const std::optional<Endpoint> endpoint = ParseEndpoint(testing::Unescaped(text));
        return endpoint ? EndpointText(*endpoint) + (IsMulticast(*endpoint) ? " multicast" : "") : "none";
    });
}

}  // namespace
}  // namespace moltrevane
