// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gpsd_protocol.h"

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace moltrevane {
namespace {

bool IsPortNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 1 && value <= 65535;
}

// The JSON string starting after its opening quote, unescaped; nothing when it has no end.
std::optional<std::string> JsonString(std::string_view text) {
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') return value;
        if (text[i] == '\\' && ++i < text.size()) {
            value += text[i] == 'n' ? '\n' : text[i] == 't' ? '\t' : text[i];  // \" \\ \/ as themselves
            continue;
        }
        value += text[i];
    }
    return std::nullopt;
}

}  // namespace

std::optional<GpsdAddress> GpsdAddressOf(std::string_view linkTarget) {
    constexpr std::string_view kScheme = "gpsd:";
    if (!linkTarget.starts_with(kScheme)) return std::nullopt;
    std::string_view rest = linkTarget.substr(kScheme.size());
    GpsdAddress address;
    if (rest.empty()) return address;
    std::string_view host = rest, port;
    if (rest.front() == '[') {  // [IPv6]:PORT
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = rest.substr(1, close - 1);
        const std::string_view after = rest.substr(close + 1);
        if (!after.empty() && after.front() != ':') return std::nullopt;
        if (!after.empty()) port = after.substr(1);
    } else if (const std::size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
    }
    if (host.empty() || (!port.empty() && !IsPortNumber(port)) || (rest.back() == ':' && port.empty()))
        return std::nullopt;
    address.host = host;
    if (!port.empty()) address.port = port;
    return address;
}

std::string Describe(const GpsdAddress& address) {
    const bool ipv6 = address.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + address.port;
}

std::string WatchRequest(std::string_view devicePath) {
    std::string request = R"(?WATCH={"enable":true,"json":true,"nmea":true)";
    if (!devicePath.empty()) {
        request += R"(,"device":")";
        for (const char c : devicePath) {
            if (c == '"' || c == '\\') request += '\\';
            request += c;
        }
        request += '"';
    }
    return request + "};\n";
}

std::vector<std::string> DevicePathsOf(std::string_view replyLine) {
    std::vector<std::string> paths;
    if (replyLine.find(R"("class":"DEVICES")") == std::string_view::npos) return paths;
    constexpr std::string_view kPath = R"("path":")";
    for (std::size_t at = replyLine.find(kPath); at != std::string_view::npos; at = replyLine.find(kPath, at + 1))
        if (std::optional<std::string> path = JsonString(replyLine.substr(at + kPath.size()))) paths.push_back(*path);
    return paths;
}

std::optional<GroundMotion> MotionOfReport(std::string_view reportLine) {
    if (reportLine.find(R"("class":"TPV")") == std::string_view::npos) return std::nullopt;  // most lines are not
    const nlohmann::json report = nlohmann::json::parse(reportLine, nullptr, false);
    if (!report.is_object() || report.value("class", nlohmann::json()) != "TPV") return std::nullopt;
    const nlohmann::json mode = report.value("mode", nlohmann::json()), speed = report.value("speed", nlohmann::json()),
                         track = report.value("track", nlohmann::json());
    if (!mode.is_number_integer() || mode.get<long long>() < 2) return std::nullopt;
    GroundMotion motion;
    if (speed.is_number() && std::isfinite(speed.get<double>()) && speed.get<double>() >= 0)
        motion.speedKmh = speed.get<double>() * 3.6;  // gpsd gives metres a second
    if (motion.speedKmh && track.is_number() && track.get<double>() >= 0 && track.get<double>() <= 360)
        motion.courseDeg = track.get<double>() == 360 ? 0 : track.get<double>();
    return motion;
}

void GpsdStream::Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) {
    for (const unsigned char byte : bytes) {
        if (atLineStart_) {
            passing_ = byte == '$' || byte == '!';
            reporting_ = byte == '{';
            report_.clear();
        }
        atLineStart_ = byte == '\n';
        if (passing_) FeedByte(nmea, byte);
        if (!reporting_) continue;
        if (atLineStart_) {
            if (const std::optional<GroundMotion> motion = MotionOfReport(report_)) ReportMotion(nmea, *motion);
            reporting_ = false;
        } else if (report_.size() < kLongestReport) {
            report_ += static_cast<char>(byte);
        } else {
            reporting_ = false;
        }
    }
}

}  // namespace moltrevane
