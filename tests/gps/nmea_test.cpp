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

TEST(NmeaBuffer, CollectsOnlyWholeLinesAndSplitsCrLf) {
    NmeaBuffer buffer;
    Feed(buffer, "$GPGGA,partial");
    EXPECT_EQ(TakeAllText(buffer), "");
    Feed(buffer, "\r\n$GPGSV,1\n");
    EXPECT_EQ(TakeAllText(buffer), "$GPGGA,partial\r\n$GPGSV,1\n");
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

TEST(NmeaBuffer, TextIsEmptiedWhenLinePlusTextWouldPassTheLimit) {
    const auto fill = [](NmeaBuffer& buffer, std::size_t textLength) {
        for (int i = 0; i < 198; ++i) Feed(buffer, "123456789\n");
        Feed(buffer, std::string(textLength - 1981, 'x') + "\n");
        Feed(buffer, std::string(10, 'y'));
    };
    NmeaBuffer kept;
    fill(kept, 1990);
    FeedByte(kept, 'y');
    EXPECT_EQ(TakeAllText(kept).size(), 1990u);

    NmeaBuffer emptied;
    fill(emptied, 1991);
    FeedByte(emptied, 'y');
    EXPECT_EQ(TakeAllText(emptied), "");
}

TEST(NmeaBuffer, OverlongLineIsDroppedUpToItsEnd) {
    NmeaBuffer buffer;
    Feed(buffer, std::string(1500, 'z') + "\r\n" + std::string(kFix) + "\r\n");
    EXPECT_EQ(TakeAllText(buffer), "\n" + std::string(kFix) + "\r\n");

    NmeaBuffer longest;
    Feed(longest, std::string(1023, 'a') + "\n");
    EXPECT_EQ(TakeAllText(longest).size(), 1024u);
}

TEST(NmeaBuffer, ZeroBytesVanishAndHighBytesPass) {
    NmeaBuffer buffer;
    Feed(buffer, std::string("$GP\0RMC\xFF\x80", 10) + "\n");
    EXPECT_EQ(TakeAllText(buffer), "$GPRMC\xFF\x80\n");
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

TEST(DecodeSentence, MalformedFixIsNoFix) {
    for (const char* sentence : {
             "$GPRMC,123519.000,A,,N,00712.3456,E",           // empty latitude
             "$GPRMC,123519.000,A,5130.1234,,00712.3456,E",   // empty hemisphere
             "$GPRMC,123519.000,A,5130.1234,N,00712.3456,X",  // bad hemisphere
             "$GPRMC,123519.000,A,51x0.1234,N,00712.3456,E",  // not a number
             "$GPRMC,123519.000,A,5160.0000,N,00712.3456,E",  // 60 minutes
             "$GPRMC,123519.000,A,9130.0000,N,00712.3456,E",  // beyond the pole
             "$GPRMC,123519.000,A,5130.1234,N,18112.3456,E",  // beyond 180
             "$GPRMC,123519.000,A,5130.1234,N,712.3456,E",    // too few degree digits
             "$GPRMC,123519.000,A,5130.1234,N",               // truncated
         }) {
        const RmcReading r = DecodeSentence(sentence);
        EXPECT_EQ(r.status, 'V') << sentence;
        EXPECT_EQ(r.latitudeText, "") << sentence;
    }
    EXPECT_EQ(DecodeSentence("$GPRMC,1,A,9000.0000,S,18000.0000,W").status, 'A');  // the edges are positions
    EXPECT_EQ(DecodeSentence("").status, 0);
    EXPECT_EQ(DecodeSentence("$GPRMC,1").status, 0);
    EXPECT_EQ(DecodeSentence("$GPRMC,1").timeText, "");
}

TEST(DecodeSentence, KeepsAtMostTwelveCharactersOfAPositionText) {
    const RmcReading r = DecodeSentence("$GPRMC,1,A,5130.123456789,N,00712.345678901,E");
    EXPECT_EQ(r.latitudeText, "5130.1234567");
    EXPECT_EQ(r.longitudeText, "00712.345678");
    EXPECT_NEAR(r.rawLatitude, 5130.123456789, 1e-9);
}

// Speed over ground (knots) and course with a fix; a field that is not a plain number is no
// value, and a course counts only beside a speed.
TEST(DecodeSentence, SpeedAndCourseOfAFix) {
    const struct {
        const char* fields;  // speed, course
        std::optional<double> kmh, course;
    } cases[] = {
        {"54.0,90.0", 100.008, 90.0},    {"0.0,0.0", 0.0, 0.0},          {"054.70,311.4", 101.3044, 311.4},
        {"12,360", 22.224, 0.0},         {"12,360.1", 22.224, {}},        {"12,", 22.224, {}},
        {",90.0", {}, {}},               {"-5.0,90.0", {}, {}},           {"1e3,90", {}, {}},
        {"2500.0,90", {}, {}},           {"5.,90", 9.26, 90.0},           {"5.5.5,90", {}, {}},
        {" 5,90", {}, {}},               {"5,-90", 9.26, {}},             {"5,090.25", 9.26, 90.25},
    };
    for (const auto& c : cases) {
        const std::string sentence = std::string("$GPRMC,123519.000,A,5130.1234,N,00712.3456,E,") + c.fields + ",230394,,";
        const GroundMotion motion = DecodeSentence(sentence).motion;
        ASSERT_EQ(motion.speedKmh.has_value(), c.kmh.has_value()) << c.fields;
        if (c.kmh) {
            EXPECT_NEAR(*motion.speedKmh, *c.kmh, 1e-9) << c.fields;
        }
        EXPECT_EQ(motion.courseDeg, c.course) << c.fields;
    }
    EXPECT_EQ(DecodeSentence("$GPRMC,123520.000,V,,,,,54.0,90.0,230394,,").motion, GroundMotion{}) << "no fix, no motion";
}

// Whole sentences must come out while a reader thread feeds; a torn one would fail its checksum
// test or show a mixed time.
TEST(NmeaBuffer, ConcurrentFeedAndTakeYieldsOnlyWholeSentences) {
    NmeaBuffer buffer;
    std::atomic<bool> stop{false};
    // Feeds until the taker has seen enough, however the threads are scheduled.
    std::thread reader([&] {
        for (int i = 0; !stop; ++i) {
            char time[16];
            std::snprintf(time, sizeof time, "%06d", i % 1000000);
            Feed(buffer, WithChecksum(std::string("$GNRMC,") + time + ".00,A,4807.038,N,01131.000,E,,") + "\r\n");
            Feed(buffer, "$GPGSV,3,1,11,03,03,111,00\r\n");
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int decoded = 0; decoded < 500;) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "only " << decoded << " sentences came";
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
    stop = true;
    reader.join();
}

}  // namespace
}  // namespace moltrevane
