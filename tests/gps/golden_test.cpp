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
        char degrees[64];
        std::snprintf(degrees, sizeof degrees, " %.8f %.8f ", r.latitude, r.longitude);
        line += degrees + std::string(LocatorView(LocatorFromPosition(r.rawLatitude, r.rawLongitude))) + " " +
                std::to_string(cross.x) + "," + std::to_string(cross.y);
        char motion[64];
        std::snprintf(motion, sizeof motion, " %.4f %.2f", r.motion.speedKmh.value_or(NAN), r.motion.courseDeg.value_or(NAN));
        line += motion;
    }
    return line + "\n";
}

struct Log {
    const char* name;  // of the expected file in tests/gps/golden, and of the test
    const char* path;  // from the source folder
};

class GoldenLog : public ::testing::TestWithParam<Log> {};

TEST_P(GoldenLog, DecodesAsCheckedIn) {
    const std::filesystem::path source = MOLTREVANE_SOURCE_DIR;
    const std::filesystem::path expectedFile = source / "tests/gps/golden" / (std::string(GetParam().name) + ".expected");
    NmeaBuffer nmea;
    std::string decoded;
    for (const std::string& cycle : Cycles(ReadFile(source / GetParam().path))) decoded += Decoded(nmea, cycle);
    ASSERT_FALSE(decoded.empty()) << GetParam().path;
    testing::ExpectGolden(expectedFile, decoded);
}

INSTANTIATE_TEST_SUITE_P(Logs, GoldenLog,
                         ::testing::Values(Log{"SampleTrack", "data/sample-track.nmea"},
                                           Log{"UbloxM8", "tests/gps/golden/ublox-m8.nmea"},
                                           Log{"ColdStart", "tests/gps/golden/cold-start.nmea"},
                                           Log{"OtherTalkers", "tests/gps/golden/other-talkers.nmea"},
                                           Log{"OddFields", "tests/gps/golden/odd-fields.nmea"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace moltrevane
