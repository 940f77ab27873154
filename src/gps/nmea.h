// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NMEA line assembly (reader thread) and RMC decoding (user-interface thread).

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace moltrevane {

// Whole lines, each with the CR or LF that ended it; emptied as a whole when the line being
// assembled and the text together would pass kLimit, so never more than kLimit + 1 bytes.
struct CollectedLines {
    static constexpr std::size_t kLimit = 2000;
    std::array<char, kLimit + 2> bytes{};
    std::size_t length = 0;
};

// How the receiver sees the car move, each part when it gives it: speed over ground and the
// course over ground (true, clockwise from north, 0 … 360).
struct GroundMotion {
    std::optional<double> speedKmh;
    std::optional<double> courseDeg;
    bool operator==(const GroundMotion&) const = default;
};

struct NmeaBuffer {
    static constexpr std::size_t kLineCapacity = 1024;
    static constexpr std::size_t kTextLimit = CollectedLines::kLimit;

    std::mutex guard;
    // The line being assembled; a line longer than the capacity is dropped up to its end.
    std::array<char, kLineCapacity> line{};
    std::size_t lineLength = 0;
    bool droppingLine = false;
    // What the main cycle takes its sentence from.
    CollectedLines text;
    // The same lines for the settings screen's view, kept until the view takes them, so it
    // sees every line whichever take emptied `text`.
    CollectedLines viewText;
    // The latest whole RMC sentence since the last take, without its line end: a busy receiver
    // sends more than `text` holds, and the fix must not be lost with the rest.
    std::array<char, kLineCapacity> latestRmc{};
    std::size_t latestRmcLength = 0;
    // gpsd's own report of the motion (its TPV), for a receiver whose sentences leave it out.
    GroundMotion reportedMotion;
};

// One byte from the receiver; never allocates.
void FeedByte(NmeaBuffer& buffer, unsigned char byte);

// The first RMC sentence of any GNSS talker whose checksum (if present) matches,
// without its line end; empties the collected text in the same step.
std::string TakeSentence(NmeaBuffer& buffer);

// Every line received since the last TakeAllText; empties both texts in the same step.
std::string TakeAllText(NmeaBuffer& buffer);

// The motion reported beside the sentences since the last take, emptied in the same step.
GroundMotion TakeReportedMotion(NmeaBuffer& buffer);
void ReportMotion(NmeaBuffer& buffer, const GroundMotion& motion);

struct RmcReading {
    std::string timeText;           // hh:mm:ss, empty when the time field has no six digits
    std::int64_t utcSeconds = 0;    // since 1970 from the time and date (ddmmyy) fields; 0 without both
    char status = 0;                // 'A' fix, 'V' warning, 0 none
    std::string latitudeText;       // the fields as received, at most 12 characters
    std::string latitudeHemisphere;
    std::string longitudeText;
    std::string longitudeHemisphere;
    double rawLatitude = 0.0;       // ddmm.mmmm, negative for S
    double rawLongitude = 0.0;      // dddmm.mmmm, negative for W
    double latitude = 0.0;          // decimal degrees
    double longitude = 0.0;
    GroundMotion motion;            // of a fix: the speed (knots) and course fields, when given
};

RmcReading DecodeSentence(std::string_view sentence);

// Position of the n-th comma (n from 1); 0 for an empty sentence, the sentence's
// length when it has fewer commas.
std::size_t CommaPosition(std::string_view sentence, int n);

}  // namespace moltrevane
