#include "core/alerts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>


namespace moltrevane {
namespace {

// Said one by one, a call or a locator is understood over road noise: "D B zero R P T".
std::string Spelled(std::string_view text) {
    static constexpr const char* kDigits[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    std::string spoken;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        std::string word;
        if (std::isdigit(byte)) word = kDigits[c - '0'];
        else if (std::isalpha(byte)) word = std::string(1, static_cast<char>(std::toupper(byte)));
        else if (c == '/') word = "stroke";
        else continue;  // nothing a speech program could take for an option or a markup
        spoken += (spoken.empty() ? "" : " ") + word;
    }
    return spoken;
}

// "145.625": four decimals at most, as short as the number allows.
std::string Megahertz(double mhz) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.4f", mhz);
    std::string text = digits;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.')) text.pop_back();
    return text;
}

// "145.625 minus 0.6": the output and the shift, when the station has them.
std::string SpokenChannel(const Station& station) {
    if (!station.outputMhz) return {};
    std::string spoken = Megahertz(*station.outputMhz);
    if (!station.inputMhz) return spoken;
    const double shift = std::round((*station.inputMhz - *station.outputMhz) * 1000) / 1000;
    if (shift == 0) return spoken;
    return spoken + (shift < 0 ? " minus " : " plus ") + Megahertz(std::fabs(shift));
}

std::string Compass(double bearingDeg) {
    static constexpr const char* kWays[] = {"north", "north-east", "east", "south-east",
                                            "south", "south-west", "west", "north-west"};
    const long way = std::lround(std::fmod(std::fmod(bearingDeg, 360) + 360, 360) / 45) % 8;
    return kWays[way];
}

}  // namespace

std::string SpokenNearest(const MeasuredStation& station) {
    std::string spoken = "Nearest ";
    spoken.append(Spelled(station.station.call));
    if (const std::string channel = SpokenChannel(station.station); !channel.empty()) spoken.append(", ").append(channel);
    const auto km = static_cast<long long>(std::ceil(station.km));  // as the row shows it
    spoken.append(", ").append(std::to_string(km)).append(km == 1 ? " kilometre" : " kilometres");
    if (km > 0) spoken.append(" ").append(Compass(station.bearingDeg));
    return spoken;
}

std::string SpokenSquare(std::string_view locator) { return "Now in " + Spelled(locator); }

std::optional<std::string> AlertWatch::Observe(const DrivingSecond& second) {
    std::string said;
    for (const auto& event : {FixEvent(second), SquareEvent(second.square), NearestEvent(second.listed)})
        if (event) said += (said.empty() ? "" : ". ") + *event;
    return said.empty() ? std::nullopt : std::optional(said);
}

// A new nearest must be a kilometre nearer than the old, or the old gone from the list: two
// stations at nearly the same distance would otherwise take turns every second.
std::optional<std::string> AlertWatch::NearestEvent(const std::vector<MeasuredStation>& listed) {
    const auto nearest = std::min_element(listed.begin(), listed.end(),
                                          [](const auto& a, const auto& b) { return a.km < b.km; });
    if (nearest == listed.end()) {
        nearestCall_.reset();
        return std::nullopt;
    }
    const auto old = std::find_if(listed.begin(), listed.end(), [&](const auto& s) { return s.station.call == nearestCall_; });
    if (old != listed.end() && (old == nearest || nearest->km + 1 > old->km)) return std::nullopt;
    nearestCall_ = nearest->station.call;
    return SpokenNearest(*nearest);
}

std::optional<std::string> AlertWatch::SquareEvent(const std::string& square) {
    if (square.empty()) return std::nullopt;
    const bool changed = !square_.empty() && square != square_;
    square_ = square;
    return changed ? std::optional(SpokenSquare(square)) : std::nullopt;
}

std::optional<std::string> AlertWatch::FixEvent(const DrivingSecond& second) {
    if (!second.gpsMode) {
        lastFix_.reset();
        lostSaid_ = false;
        return std::nullopt;
    }
    if (second.fix) {
        lastFix_ = second.seconds;
        if (!lostSaid_) return std::nullopt;
        lostSaid_ = false;
        return "GPS fix back";
    }
    if (!lastFix_ || lostSaid_ || second.seconds - *lastFix_ < kFixLostSeconds) return std::nullopt;
    lostSaid_ = true;
    return "GPS fix lost";
}

std::optional<std::string> AlertPacer::Due(std::int64_t seconds, bool busy) {
    if (!waiting_ || busy || (lastStart_ && seconds - *lastStart_ < kAlertSpacingSeconds)) return std::nullopt;
    lastStart_ = seconds;
    return std::exchange(waiting_, std::nullopt);
}

}  // namespace moltrevane
