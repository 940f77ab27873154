// SPDX-License-Identifier: GPL-3.0-or-later
// Logs replayed through the decoder a cycle at a time, compared line by line with what was
// checked in: a change in what any receiver's sentences decode to shows up here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "geo/locator.h"
#include "gps/nmea.h"
#include "screens/main_screen.h"
#include "support/golden.h"

namespace moltrevane {
namespace {

using testing::ReadFile;

// The log's lines split into the program's cycles: each RMC sentence starts the next one, as
// nmea-replay plays it.
std::vector<std::string> Cycles(const std::string& log) {
    std::vector<std::string> cycles;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (cycles.empty() || line.find("RMC,") == 3) cycles.emplace_back();
        cycles.back() += line + "\n";
    }
    return cycles;
}

// One line a cycle: time, seconds since 1970 (time and date), status, position fields, and for a fix the position in degrees, the
// locator, the map's cross, and the speed (km/h) and course ("nan" when not given).
std::string Decoded(NmeaBuffer& nmea, const std::string& cycle) {
    for (const char c : cycle) FeedByte(nmea, static_cast<unsigned char>(c));
    const RmcReading r = DecodeSentence(TakeSentence(nmea));
    std::string line = (r.timeText.empty() ? "-" : r.timeText) + " " + std::to_string(r.utcSeconds) + " " +
                       (r.status ? std::string(1, r.status) : "-");
    for (const std::string& field : {r.latitudeText, r.latitudeHemisphere, r.longitudeText, r.longitudeHemisphere})
        line += " " + (field.empty() ? "-" : field);
    if (r.status == 'A') {
        const MapCross cross = CrossFor(r.rawLatitude, r.rawLongitude);
        char fix[160];
        std::snprintf(fix, sizeof fix, " %.8f %.8f %s %d,%d %.4f %.2f", r.latitude, r.longitude,
                      std::string(LocatorView(LocatorFromPosition(r.rawLatitude, r.rawLongitude))).c_str(), cross.x, cross.y,
                      r.motion.speedKmh.value_or(NAN), r.motion.courseDeg.value_or(NAN));
        line += fix;
    }
    return line + "\n";
}

// Each log's decoding is compared with tests/gps/golden/ and the log's name with ".expected".
TEST(GoldenLog, EachDecodesAsCheckedIn) {
    const std::filesystem::path source = MOLTREVANE_SOURCE_DIR;
    for (const char* log : {"data/sample-track.nmea", "tests/gps/golden/ublox-m8.nmea", "tests/gps/golden/cold-start.nmea",
                            "tests/gps/golden/other-talkers.nmea", "tests/gps/golden/odd-fields.nmea"}) {
        NmeaBuffer nmea;
        std::string decoded;
        for (const std::string& cycle : Cycles(ReadFile(source / log))) decoded += Decoded(nmea, cycle);
        ASSERT_FALSE(decoded.empty()) << log;
        testing::ExpectGolden(source / "tests/gps/golden" / std::filesystem::path(log).filename().replace_extension(".expected"), decoded);
    }
}

}  // namespace
}  // namespace moltrevane
