// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few parts of gpsd's JSON protocol the program speaks: where gpsd is, the request for the
// receiver's NMEA, the devices gpsd reads, and the NMEA lines among its replies.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gps/nmea.h"

namespace moltrevane {

struct GpsdAddress {
    std::string host = "127.0.0.1";
    std::string port = "2947";
    bool operator==(const GpsdAddress&) const = default;
};

// A port link's target that names gpsd: "gpsd:" (127.0.0.1, 2947), "gpsd:HOST",
// "gpsd:HOST:PORT" or "gpsd:[IPV6]:PORT". Nothing for any other target, or a port that is not
// a number from 1 to 65535. Example: "gpsd:pi.local:2948" → {"pi.local", "2948"}.
std::optional<GpsdAddress> GpsdAddressOf(std::string_view linkTarget);

// "HOST:PORT" as messages name it.
std::string Describe(const GpsdAddress& address);

// The WATCH request for raw NMEA and gpsd's own reports, of one device when a path is given
// (quotes and backslashes escaped); it ends with a newline.
std::string WatchRequest(std::string_view devicePath = {});

inline constexpr std::string_view kDevicesRequest = "?DEVICES;\n";

// The device paths of a DEVICES reply line; empty for any other line.
std::vector<std::string> DevicePathsOf(std::string_view replyLine);

// The speed and course of a TPV report with a fix (mode 2 or 3); nothing for any other line.
// gpsd works them out from successive fixes where the receiver's sentences leave them empty.
std::optional<GroundMotion> MotionOfReport(std::string_view reportLine);

// Sorts gpsd's output: NMEA lines (those starting with '$' or '!') go to FeedByte byte by byte,
// as from a serial line; the motion of a TPV report goes to ReportMotion; every other line,
// and a report longer than kLongestReport, is dropped whatever its length.
class GpsdStream {
public:
    static constexpr std::size_t kLongestReport = 4096;
    void Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea);

private:
    bool atLineStart_ = true;
    bool passing_ = false;    // the current line is NMEA
    bool reporting_ = false;  // the current line is a report of gpsd's, collected in report_
    std::string report_;
};

}  // namespace moltrevane
