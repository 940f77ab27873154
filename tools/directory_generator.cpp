// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory_generator.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>

#include "directory/station_directory.h"
#include "geo/locator.h"

namespace moltrevane::tools {
namespace {

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
}

double DegreesMinutes(double degrees) {
    const double whole = std::trunc(degrees);
    return whole * 100 + (degrees - whole) * 60;
}

std::string CallFor(int n) {
    static constexpr const char* kPrefixes[] = {"DB0", "OE", "HB9", "PI", "ON0", "F5", "G", "OK0", "SP", "IR"};
    return kPrefixes[n % 10] + std::to_string(n / 10) + static_cast<char>('A' + n % 26);
}

struct Channel {
    const char* aus;
    const char* ein;
    const char* mode;
    int percent;
};

// A mix of channels as real directories have them, from voice repeaters to beacons.
constexpr Channel kChannels[] = {
    {"145.6125", "145.0125", "FM", 40}, {"439.150", "431.550", "FM", 22},  {"438.2125", "430.6125", "DMR", 15},
    {"1298.225", "1270.225", "FM", 5},  {"144.800", "144.800", "APRS", 6}, {"10368.850", "", "Bake", 5},
    {"1278.250", "2330.000", "ATV", 3}, {"29.620", "29.520", "FM", 2},     {"51.870", "51.270", "FM", 2},
};

const Channel& ChannelFor(int percentile) {
    for (const Channel& channel : kChannels) {
        if (percentile < channel.percent) return channel;
        percentile -= channel.percent;
    }
    return kChannels[0];
}

}  // namespace

void WriteSyntheticDirectory(const std::filesystem::path& file, int stations, Spread spread, unsigned seed) {
    std::filesystem::remove(file);
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + file.string());
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> cluster(0.0, 1.5);
    Exec(db, kCreateRepeaterTable);
    Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO repeater (call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2) VALUES (?, ?, '500', ?, ?, ?, ?, '', '', 'synthetic test data')", -1,
                       &insert, nullptr);
    for (int n = 0; n < stations; ++n) {
        double latitude, longitude;
        if (spread == Spread::Uniform) {
            latitude = std::asin(2 * unit(random) - 1) * 180 / 3.141592653589793;  // equal area
            longitude = unit(random) * 360 - 180;
        } else {
            latitude = std::clamp(50.0 + cluster(random), -89.9, 89.9);
            longitude = std::clamp(10.0 + 2 * cluster(random), -179.9, 179.9);
        }
        const LocatorText locator = LocatorFromPosition(DegreesMinutes(latitude), DegreesMinutes(longitude));
        const std::string call = CallFor(n), place = "Place " + std::to_string(n);
        sqlite3_bind_text(insert, 1, call.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, locator.data(), 6, SQLITE_TRANSIENT);
        const Channel& channel = ChannelFor(n * 37 % 100);
        sqlite3_bind_text(insert, 3, channel.mode, -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, place.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, channel.aus, -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, channel.ein, -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

}  // namespace moltrevane::tools
