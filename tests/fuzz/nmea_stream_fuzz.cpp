// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary receiver bytes, taken now and then as the main cycle (one sentence) or the
// settings screen (all text) takes them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "geo/locator.h"
#include "gps/nmea.h"

namespace {

using namespace moltrevane;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The line was received as it stands, starting the stream or right after a line end.
bool ReceivedAsLine(std::string_view received, std::string_view line) {
    for (std::size_t p = received.find(line); p != std::string_view::npos; p = received.find(line, p + 1))
        if (p == 0 || IsLineEnd(received[p - 1])) return true;
    return false;
}

void CheckReading(std::string_view sentence) {
    const RmcReading reading = DecodeSentence(sentence);
    if (reading.status != 'A') {
        FUZZ_CHECK(!reading.motion.speedKmh && !reading.motion.courseDeg);
        return;
    }
    const GroundMotion& motion = reading.motion;
    FUZZ_CHECK(!motion.speedKmh || (std::isfinite(*motion.speedKmh) && *motion.speedKmh >= 0 && *motion.speedKmh <= 2000 * 1.852));
    FUZZ_CHECK(!motion.courseDeg || (motion.speedKmh && *motion.courseDeg >= 0 && *motion.courseDeg < 360));
    FUZZ_CHECK(std::isfinite(reading.latitude) && std::fabs(reading.latitude) <= 90.0);
    FUZZ_CHECK(std::isfinite(reading.longitude) && std::fabs(reading.longitude) <= 180.0);
    FUZZ_CHECK(std::isfinite(reading.rawLatitude) && std::isfinite(reading.rawLongitude));
    FUZZ_CHECK(reading.latitudeText.size() <= 12 && reading.longitudeText.size() <= 12);
    const LocatorText locator = LocatorFromPosition(reading.rawLatitude, reading.rawLongitude);
    FUZZ_CHECK(IsValidLocator(LocatorView(locator)));
}

void CheckSentence(std::string_view sentence, std::string_view received) {
    if (sentence.empty()) return;
    FUZZ_CHECK(sentence.size() >= 7 && sentence[0] == '$' && sentence.substr(3, 4) == "RMC,");
    FUZZ_CHECK(sentence.find_first_of("\r\n") == std::string_view::npos);
    FUZZ_CHECK(received.find(sentence) != std::string_view::npos);
    CheckReading(sentence);
}

void CheckText(std::string_view text, std::string_view received) {
    FUZZ_CHECK(text.size() <= NmeaBuffer::kTextLimit + 1);
    FUZZ_CHECK(text.empty() || IsLineEnd(text.back()));
    while (!text.empty()) {
        const std::string_view line = text.substr(0, text.find_first_of("\r\n") + 1);
        FUZZ_CHECK(ReceivedAsLine(received, line));
        CheckReading(line.substr(0, line.size() - 1));
        text.remove_prefix(line.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    NmeaBuffer buffer;
    std::string received;  // every byte fed, without the zero bytes the buffer skips
    while (input.remaining_bytes() > 0) {
        const auto chunk = input.ConsumeIntegralInRange<std::size_t>(1, 600);
        for (const unsigned char byte : input.ConsumeBytes<unsigned char>(chunk)) {
            FeedByte(buffer, byte);
            if (byte != 0) received += static_cast<char>(byte);
            FUZZ_CHECK(buffer.text.length <= NmeaBuffer::kTextLimit + 1 && buffer.viewText.length <= NmeaBuffer::kTextLimit + 1);
        }
        if (input.ConsumeBool())
            CheckSentence(TakeSentence(buffer), received);
        else
            CheckText(TakeAllText(buffer), received);
    }
    return 0;
}
