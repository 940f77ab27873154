// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/nmea.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace moltrevane {
namespace {

void Feed(NmeaBuffer& buffer, std::string_view bytes) {
    for (char c : bytes) FeedByte(buffer, static_cast<unsigned char>(c));
}

std::string WithChecksum(std::string body) {
    unsigned char sum = 0;
    for (char c : body.substr(1)) sum ^= static_cast<unsigned char>(c);
    char hex[4];
    std::snprintf(hex, sizeof hex, "*%02X", sum);
    return body + hex;
}

constexpr std::string_view kFix = "$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,0.0,0.0,230394,,";

TEST(NmeaBuffer, CollectsOnlyWholeLinesZeroBytesVanishAndHighBytesPass) {
    NmeaBuffer buffer;
    Feed(buffer, "$GPGGA,partial");
    EXPECT_EQ(TakeAllText(buffer), "");
    Feed(buffer, "\r\n$GPGSV,1\n" + std::string("$GP\0RMC\xFF\x80", 10) + "\n");
    EXPECT_EQ(TakeAllText(buffer), "$GPGGA,partial\r\n$GPGSV,1\n$GPRMC\xFF\x80\n");
    EXPECT_EQ(TakeAllText(buffer), "");
}

TEST(NmeaBuffer, TheViewGetsEveryLineWhicheverTakeEmptiedTheText) {
    NmeaBuffer buffer;
    Feed(buffer, std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeSentence(buffer), kFix);
    Feed(buffer, "$GPGSV,1\n");
    EXPECT_EQ(TakeAllText(buffer), std::string(kFix) + "\r\n$GPGSV,1\n");
    Feed(buffer, std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeAllText(buffer), std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeSentence(buffer), "");  // the view's take empties the text too
}

// The text is emptied when a line would take it past its limit; a line past its own is dropped.
TEST(NmeaBuffer, TheLimitsOfTheTextAndOfALine) {
    for (const std::size_t length : {1990u, 1991u}) {
        NmeaBuffer buffer;
        for (int i = 0; i < 198; ++i) Feed(buffer, "123456789\n");
        Feed(buffer, std::string(length - 1981, 'x') + "\n" + std::string(11, 'y'));
        EXPECT_EQ(TakeAllText(buffer).size(), length == 1990 ? 1990u : 0u);
    }
    NmeaBuffer buffer;
    Feed(buffer, std::string(1500, 'z') + "\r\n" + std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeAllText(buffer), "\n" + std::string(kFix) + "\r\n");
    Feed(buffer, std::string(1023, 'a') + "\n");
    EXPECT_EQ(TakeAllText(buffer).size(), 1024u);
}

TEST(TakeSentence, TakesFirstRmcOfAnyTalkerAndEmptiesText) {
    NmeaBuffer buffer;
    Feed(buffer, "$GPGGA,1,2\r\n$GNRMC,000001,A,1,N,1,E\r\n$GPRMC,000002,A\r\n");
    EXPECT_EQ(TakeSentence(buffer), "$GNRMC,000001,A,1,N,1,E");
    EXPECT_EQ(TakeSentence(buffer), "");

    Feed(buffer, "$GPRMB,1\r\n$XXRMC,1\r\n$BDRMC,2\n");
    EXPECT_EQ(TakeSentence(buffer), "$BDRMC,2");
}

TEST(TakeSentence, SkipsBadChecksumsAndAcceptsMissingOnes) {
    NmeaBuffer buffer;
    const std::string good = WithChecksum(std::string(kFix));
    std::string bad = good;
    bad[20] = '6';
    Feed(buffer, bad + "\r\n" + good + "\r\n");
    EXPECT_EQ(TakeSentence(buffer), good);

    Feed(buffer, std::string(kFix) + "*G1\r\n" + std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeSentence(buffer), kFix);
}

TEST(TakeSentence, ASentenceBeyondTheSearchOrEmptiedByTheLimitComesWholeOrNotAtAll) {
    NmeaBuffer buffer;
    Feed(buffer, std::string(1020, 'p') + "\n" + std::string(kFix) + "\n");
    EXPECT_EQ(TakeSentence(buffer), kFix);
    EXPECT_EQ(TakeSentence(buffer), "");  // only since the last take

    Feed(buffer, std::string(kFix) + "\n" + std::string(1990, 'q') + "\n");  // the text emptied
    EXPECT_EQ(TakeSentence(buffer), kFix);

    // The limit cuts off the '*hh' of a corrupt sentence: without it, it would pass as unchecked.
    std::string corrupt = WithChecksum(std::string(kFix));
    corrupt[20] = '6';
    Feed(buffer, std::string(1023 - 1 - kFix.size() + 5, 'p') + "\n" + corrupt + "\n");
    EXPECT_EQ(TakeSentence(buffer), "");
}

// The fields' cases are in golden/odd-fields.nmea; what a golden line cannot show is here.
TEST(DecodeSentence, KeepsTheRawPositionAndGivesNoMotionWithoutAFix) {
    EXPECT_NEAR(DecodeSentence("$GPRMC,1,A,5130.123456789,N,00712.345678901,E").rawLatitude, 5130.123456789, 1e-9);
    EXPECT_EQ(DecodeSentence("$GPRMC,123520.000,V,,,,,54.0,90.0,230394,,").motion, GroundMotion{});
    EXPECT_EQ(DecodeSentence("").status, 0);
}

// Whole sentences must come out while a reader thread feeds; a torn one would fail its checksum
// test or show a mixed time.
TEST(NmeaBuffer, ConcurrentFeedAndTakeYieldsOnlyWholeSentences) {
    NmeaBuffer buffer;
    // Feeds until the taker has seen enough, however the threads are scheduled; joined on every
    // way out of the test, so that a failed check reports instead of ending the process.
    std::jthread reader([&](const std::stop_token& stop) {
        for (int i = 0; !stop.stop_requested(); ++i) {
            char time[16];
            std::snprintf(time, sizeof time, "%06d", i % 1000000);
            Feed(buffer, WithChecksum(std::string("$GNRMC,") + time + ".00,A,4807.038,N,01131.000,E,,") + "\r\n");
            Feed(buffer, "$GPGSV,3,1,11,03,03,111,00\r\n");
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int decoded = 0;
    while (decoded < 500 && std::chrono::steady_clock::now() < deadline) {
        const std::string sentence = TakeSentence(buffer);
        if (sentence.empty()) {
            std::this_thread::yield();  // a scheduler that never preempts still lets the reader feed
            continue;
        }
        const RmcReading r = DecodeSentence(sentence);
        EXPECT_EQ(r.status, 'A') << sentence;
        EXPECT_EQ(r.timeText.size(), 8u) << sentence;
        ++decoded;
    }
    reader.request_stop();
    reader.join();
    EXPECT_EQ(decoded, 500) << "only " << decoded << " sentences came";
}

}  // namespace
}  // namespace moltrevane
