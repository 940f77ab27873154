// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/nmea.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/golden_table.h"

namespace moltrevane {
namespace {

void Feed(NmeaBuffer& buffer, std::string_view bytes) {
    for (char c : bytes) FeedByte(buffer, static_cast<unsigned char>(c));
}

// golden/buffer.txt: bytes fed to a buffer, and what each take of its text and of its RMC
// sentence gives: whole lines only, the limits, the talkers, the checksums.
TEST(NmeaBuffer, FeedsAndTakesOfTheTable) {
    testing::ExpectTable("gps/golden/buffer.txt", [](std::istream& in) {
        NmeaBuffer buffer;
        std::string taken;
        int times = 1;
        for (std::string step; in >> step;) {
            if (step.back() == '*') {
                times = std::stoi(step);
            } else if (step == "all" || step == "rmc") {
                const std::string text = step == "all" ? TakeAllText(buffer) : TakeSentence(buffer);
                taken += (taken.empty() ? "" : " ") +
                         (text.size() > 100 ? "(" + std::to_string(text.size()) + " bytes)" : '"' + testing::Escaped(text) + '"');
            } else {
                for (; times > 0; --times) Feed(buffer, testing::Unescaped(step));
                times = 1;
            }
        }
        return taken;
    });
}

// The fields' cases are in golden/odd-fields.nmea, a warning's motion in the NMEA fuzz target's
// corpus (warning-with-motion); what a golden line cannot show is here: the raw position keeps
// every digit given, beyond the twelve characters shown.
TEST(DecodeSentence, KeepsTheRawPositionToItsLastDigit) {
    EXPECT_NEAR(DecodeSentence("$GPRMC,1,A,5130.123456789,N,00712.345678901,E").rawLatitude, 5130.123456789, 1e-9);
}

// Whole sentences must come out while a reader thread feeds; a torn one, without a checksum to
// drop it, would show a mixed time or status.
TEST(NmeaBuffer, ConcurrentFeedAndTakeYieldsOnlyWholeSentences) {
    NmeaBuffer buffer;
    // Feeds until the taker has seen enough, however the threads are scheduled; stopped and
    // joined as it goes, on every way out of the test, so that a failed check reports instead
    // of ending the process.
    const std::jthread reader([&](const std::stop_token& stop) {
        for (int i = 0; !stop.stop_requested(); ++i) {
            char sentence[64];
            std::snprintf(sentence, sizeof sentence, "$GNRMC,%06d.00,A,4807.038,N,01131.000,E,,\r\n", i % 1000000);
            Feed(buffer, sentence);
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
    EXPECT_EQ(decoded, 500) << "only " << decoded << " sentences came";
}

}  // namespace
}  // namespace moltrevane
