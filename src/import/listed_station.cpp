// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/listed_station.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "directory/station.h"
#include "geo/locator.h"

namespace moltrevane {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper case, letters and digits only: "D-Star", "d star" and "DSTAR" are one word.
std::string Folded(std::string_view text) {
    std::string folded;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) folded += Upper(c);
    return folded;
}

constexpr std::pair<std::string_view, std::string_view> kModeNames[] = {
    {"FM", "FM"},         {"FMANALOG", "FM"},  {"ANALOG", "FM"},    {"ANALOGUE", "FM"},  {"AV", "FM"},    {"NFM", "FM"},       {"DMR", "DMR"},
    {"MOTOTRBO", "DMR"},  {"DSTAR", "D-STAR"}, {"DV", "D-STAR"},    {"C4FM", "C4FM"},    {"YSF", "C4FM"},
    {"FUSION", "C4FM"},   {"SYSTEMFUSION", "C4FM"}, {"WIRESX", "C4FM"}, {"NXDN", "NXDN"}, {"P25", "P25"},
    {"APCO25", "P25"},    {"APCOP25", "P25"},  {"M17", "M17"},      {"TETRA", "TETRA"},  {"ATV", "ATV"},
    {"DATV", "ATV"},      {"BEACON", "Bake"},  {"BAKE", "Bake"},    {"BCN", "Bake"},     {"APRS", "APRS"},
    {"PACKET", "Packet"}, {"DIGI", "Digi"},    {"TRANSPONDER", "Transponder"}, {"ECHOLINK", "EchoLink"},
};

// Shortest text that reads back as the same number: "50.1", "-3.4567".
std::string DegreesText(double degrees) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, degrees);
    return error == std::errc() ? std::string(text, end) : std::string();
}

std::string FrequencyText(std::optional<double> mhz) {
    if (!mhz || !(*mhz > 0 && *mhz < 1e6)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", *mhz);
    return text;
}

bool IsSquare(std::string_view locator) {
    return locator.size() == 4 && locator[0] >= 'A' && locator[0] <= 'R' && locator[1] >= 'A' && locator[1] <= 'R' &&
           locator[2] >= '0' && locator[2] <= '9' && locator[3] >= '0' && locator[3] <= '9';
}

// ±(100 × degrees + minutes), the notation the locator is computed from.
double DegreesMinutes(double degrees) {
    const double whole = std::trunc(degrees);
    return whole * 100 + (degrees - whole) * 60;
}

struct Placed {
    std::string locator;
    bool fromSquare = false;
    std::string latitude{}, longitude{};  // the site, when the list gives it
};

std::optional<Placed> PlaceOf(const ListedStation& station) {
    if (station.latitude && station.longitude) {
        const double lat = *station.latitude, lon = *station.longitude;
        const bool inRange = lat >= -90 && lat < 90 && lon >= -180 && lon < 180;
        if (inRange && (lat != 0 || lon != 0))
            return Placed{std::string(LocatorView(LocatorFromPosition(DegreesMinutes(lat), DegreesMinutes(lon)))), false,
                          DegreesText(lat), DegreesText(lon)};
    }
    std::string locator = Folded(station.locator);
    if (locator.size() >= 6 && IsValidLocator(locator.substr(0, 6)) && locator[0] <= 'R' && locator[1] <= 'R')
        return Placed{locator.substr(0, 6)};
    if (IsSquare(locator)) return Placed{locator + "LL", true};  // LL: the subsquare at the square's middle
    return std::nullopt;
}

std::string Joined(std::string_view first, std::string_view second) {
    if (first.empty()) return std::string(second);
    if (second.empty()) return std::string(first);
    return std::string(first) + "; " + std::string(second);
}

// Letters, digits and points: "CC1 / CTCSS 118.8Hz" is CC1, CTCSS, 118.8HZ.
std::vector<std::string> AccessWords(std::string_view text) {
    std::vector<std::string> words(1);
    for (char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == ',')
            words.back() += c == ',' ? '.' : Upper(c);
        else if (!words.back().empty()) words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A word that is a tone by itself: "118.8", "118.8HZ", "T127.3", "D023", "1750".
std::optional<AccessTone> ToneWord(std::string word) {
    if (word.ends_with("HZ")) word.resize(word.size() - 2);
    if (word.size() == 4 && word[0] == 'D' && AllDigits(word.substr(1))) return AccessToneOf(word);
    if (word.size() > 1 && word[0] == 'T') word.erase(0, 1);
    const std::optional<double> hz = NumberOf(word);
    if (!hz || *hz <= 0) return std::nullopt;
    // Tones are written to a tenth of a hertz; 1750.0 is the burst.
    char text[16];
    std::snprintf(text, sizeof text, *hz == 1750 ? "%.0f" : "%.1f", *hz);
    return AccessToneOf(text);
}

}  // namespace

std::string CleanText(std::string_view text, std::size_t limit) {
    std::string clean;
    for (std::size_t at = 0; at < text.size() && clean.size() < limit;) {
        const auto byte = static_cast<unsigned char>(text[at]);
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte < 0xE0 ? 2 : byte >= 0xE0 && byte < 0xF0 ? 3
                                           : byte >= 0xF0 && byte < 0xF5 ? 4 : 0;
        bool valid = length > 0 && at + length <= text.size();
        for (std::size_t i = 1; valid && i < length; ++i) valid = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
        if (valid && length == 3) {  // no overlong form, no surrogate
            const auto second = static_cast<unsigned char>(text[at + 1]);
            valid = !(byte == 0xE0 && second < 0xA0) && !(byte == 0xED && second >= 0xA0);
        }
        if (valid && length == 4) {
            const auto second = static_cast<unsigned char>(text[at + 1]);
            valid = !(byte == 0xF0 && second < 0x90) && !(byte == 0xF4 && second >= 0x90);
        }
        if (!valid) {
            clean += '?';
            ++at;
        } else if (length == 1) {
            clean += byte < 0x20 || byte == 0x7F ? ' ' : static_cast<char>(byte);
            ++at;
        } else {
            if (clean.size() + length > limit) break;
            clean.append(text.substr(at, length));
            at += length;
        }
    }
    const auto first = clean.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

std::optional<double> NumberOf(std::string_view text) {
    std::string number(CleanText(text, 64));
    std::replace(number.begin(), number.end(), ',', '.');
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

Access AccessOf(std::string_view text) {
    Access access;
    const std::vector<std::string> words = AccessWords(text);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() > 2 && word.starts_with("CC") && AllDigits(word.substr(2)) && access.colourCode.empty())
            access.colourCode = "CC" + std::to_string(std::stoi(word.substr(2, 3)));
        else if (word == "CC" && i + 1 < words.size() && AllDigits(words[i + 1]) && access.colourCode.empty())
            access.colourCode = "CC" + std::to_string(std::stoi(words[++i].substr(0, 3)));
        else if (word == "DCS" && i + 1 < words.size() && words[i + 1].size() == 3 && access.tone.empty()) {
            if (const auto dcs = AccessToneOf("D" + words[++i])) access.tone = StoredTone(*dcs);
        } else if (const auto tone = ToneWord(word); tone && access.tone.empty())
            access.tone = StoredTone(*tone);
    }
    if (access.tone.empty() && access.colourCode.empty()) {
        const std::string folded = Folded(text);
        for (std::string_view none : {"", "0", "NONE", "NO", "FALSE", "CSQ", "CARRIER", "BRAK", "KEIN", "KEINE", "NA"})
            if (folded == none) return access;
        access.unread = CleanText(text, 100);
    }
    return access;
}

bool IsModeWord(std::string_view word) {
    const std::string folded = Folded(word);
    return std::any_of(std::begin(kModeNames), std::end(kModeNames), [&](const auto& entry) { return entry.first == folded; });
}

void AddModeWords(std::string_view field, std::vector<std::string>& modes) {
    for (std::size_t start = 0; start < field.size();) {
        const std::size_t end = std::min(field.find_first_of("/,;+ ", start), field.size());
        if (end > start) modes.emplace_back(field.substr(start, end - start));
        start = end + 1;
    }
}

bool IsOnAir(std::string_view status) {
    const std::string word = Folded(status);
    // Every list's word for a station not (or not yet, or no longer) on the air.
    for (std::string_view off : {"OFFAIR", "OFF", "DISABLED", "PLANNED", "BUILDING", "INPROGRESS", "UNDERCONSTRUCTION",
                                 "INACTIVE", "DOWN", "QRT", "NOTWORKING", "0", "NO", "FALSE"})
        if (word == off) return false;
    return true;
}

std::string DirectoryMode(const std::vector<std::string>& words) {
    std::vector<std::string> names;
    for (const std::string& word : words) {
        const std::string folded = Folded(word);
        const auto known = std::find_if(std::begin(kModeNames), std::end(kModeNames),
                                        [&](const auto& entry) { return entry.first == folded; });
        std::string name = known != std::end(kModeNames) ? std::string(known->second) : CleanText(word, 40);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::string mode;
    for (const std::string& name : names) mode += (mode.empty() ? "" : "/") + name;
    return mode;
}

RowOutcome RowOf(const ListedStation& station, std::string_view source, bool includeInactive) {
    std::string call = CleanText(station.call, 64);
    std::transform(call.begin(), call.end(), call.begin(), Upper);
    if (call.empty() || call.size() > 32) return {std::nullopt, SkipReason::NoCall};  // 32: no call is longer
    if (!station.onAir && !includeInactive) return {std::nullopt, SkipReason::NotWorking};
    const std::optional<Placed> place = PlaceOf(station);
    if (!place) return {std::nullopt, SkipReason::NoPosition};
    const Access access = AccessOf(station.tone);
    std::string remarks = Joined(Joined(access.colourCode, access.unread), CleanText(station.remarks));
    if (place->fromSquare) remarks = Joined(kPlacedBySquareRemark, remarks);
    DirectoryRow row{call,
                     place->locator,
                     CleanText(station.asl, 40),
                     DirectoryMode(station.modes),
                     CleanText(station.qth),
                     FrequencyText(station.outputMhz),
                     FrequencyText(station.inputMhz),
                     CleanText(station.channel, 40),
                     access.tone,
                     Joined(remarks, source),
                     place->latitude,
                     place->longitude};
    return {.row = std::move(row), .fromSquare = place->fromSquare};
}

}  // namespace moltrevane
