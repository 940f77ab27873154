// SPDX-License-Identifier: GPL-3.0-or-later
// The radio link's worker against a stand-in for rigctld that records every line and answers as
// no rigctld should (Debian's real one is driven through the program: tests/drives). Every
// wait is for a condition, with a deadline.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "links/rigctld_protocol.h"
#include "platform/posix/rigctld_link.h"
#include "support/eventually.h"
#include "support/loopback.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using testing::Eventually;

const Station kDb0abc = [] {
    Station s;
    s.call = "DB0ABC";
    s.mode = "FM";
    s.outputMhz = 439.375;
    s.inputMhz = 431.775;
    return s;
}();

bool Shows(const RadioLink& link, const std::string& line, std::chrono::milliseconds limit = 20s) {
    return Eventually([&] { return link.State().line == line; }, limit);
}

TEST(RigctldLink, WhatAnswersLikeNoRigctldIsToldAndNothingIsEverKeyed) {
    const std::string ptt0 = "get_ptt:\nPTT: 0\nRPRT 0\n";
    struct Case {
        std::string name;
        std::function<std::string(const std::string&, int)> answer;
        TuneCause cause;
        std::string line;
    };
    // What the answers say is read in tests/links (a refusal, silence, junk of every kind); here
    // the worker's part: it cuts off what garbles the answers, keeps its deadline on an answer
    // that drips in, and sees a hang-up.
    const Case cases[] = {
        {"an endless line", [](const std::string&, int) { return std::string(1 << 20, 'x'); }, TuneCause::Tap,
         "Radio: what answers at 127.0.0.1:PORT is no rigctld"},
        {"a byte a tenth of a second", [&](const std::string&, int fd) {
             for (const char c : ptt0) {
                 ::send(fd, &c, 1, MSG_NOSIGNAL);
                 std::this_thread::sleep_for(100ms);
             }
             return std::string();
         }, TuneCause::Follow, "Radio: follow tunes no rig that cannot report PTT"},
        {"a disconnect in a tune", [&](const std::string& line, int) {
             return line == "+\\get_ptt" ? ptt0 : std::string("close");
         }, TuneCause::Tap, "Radio: rigctld not running"},
    };
    for (const Case& c : cases) {
        testing::StandInServer standIn(testing::Answering(c.answer));
        RigctldLink link;
        const std::string address = "127.0.0.1:" + std::to_string(standIn.port);
        link.Publish({true, address, TuneMode::Follow});
        ASSERT_TRUE(Shows(link, "Radio: ready")) << c.name;
        link.Tune(kDb0abc, c.cause);
        std::string line = c.line;
        if (const std::size_t at = line.find("127.0.0.1:PORT"); at != std::string::npos) line.replace(at, 14, address);
        EXPECT_TRUE(Eventually([&] { return !standIn.Heard().empty(); }, 10s)) << c.name;
        EXPECT_TRUE(Shows(link, line)) << c.name << ": " << link.State().line;
        EXPECT_FALSE(link.State().tuned) << c.name;
        for (const std::string& heard : standIn.Heard())
            EXPECT_TRUE(heard.starts_with("+\\get_") || (heard.starts_with("+\\set_") && CommandOf(heard) != "set_ptt"))
                << c.name << ": " << heard;
    }
}

}  // namespace
}  // namespace moltrevane
