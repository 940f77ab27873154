// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spoken_texts.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/way.h"

namespace moltrevane {
namespace {

constexpr std::array<std::string_view, 26> kLetters = {
    "Alpha", "Bravo",   "Charlie", "Delta",  "Echo",   "Foxtrot", "Golf",   "Hotel",    "India",
    "Juliet", "Kilo",   "Lima",    "Mike",   "November", "Oscar", "Papa",   "Quebec",   "Romeo",
    "Sierra", "Tango",  "Uniform", "Victor", "Whiskey", "X-ray",  "Yankee", "Zulu"};
constexpr std::array<std::string_view, 10> kDigits = {"zero", "one", "two",   "three", "four",
                                                      "five", "six", "seven", "eight", "nine"};

// ASCII only, whatever the locale: a byte of a UTF-8 letter is no letter of the alphabet.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Words with a blank between them, whatever was left out.
void AppendWord(std::string& spoken, std::string_view word) {
    if (word.empty()) return;
    if (!spoken.empty()) spoken += ' ';
    spoken += word;
}

std::string Capitalised(std::string_view word) {
    std::string text(word);
    text[0] = Upper(text[0]);
    return text;
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

// "four three nine point three seven five minus seven point six": the output and the shift,
// when the station has them.
std::string SpokenChannel(const Station& station) {
    if (!station.outputMhz) return {};
    std::string spoken = SpokenDigits(Megahertz(*station.outputMhz));
    if (!station.inputMhz) return spoken;
    if (IsCrossBand(station)) return spoken + " input " + SpokenDigits(Megahertz(*station.inputMhz));
    const double shift = std::round((*station.inputMhz - *station.outputMhz) * 1000) / 1000;
    if (shift == 0) return spoken;
    return spoken + (shift < 0 ? " minus " : " plus ") + SpokenDigits(Megahertz(std::fabs(shift)));
}

// The mode's words as written ("FM", "D-STAR", "C4FM"), any other mark between them a blank;
// a few short words at most, as a mode is.
std::string SpokenMode(std::string_view mode) {
    constexpr std::size_t kWords = 3, kLongestWord = 12;
    const auto alphanumeric = [](char c) { return IsLetter(c) || IsDigit(c); };
    std::string spoken, word;
    std::size_t words = 0;
    for (std::size_t i = 0; i <= mode.size() && words < kWords; ++i) {
        const bool inner = i < mode.size() && (alphanumeric(mode[i]) ||
                           (mode[i] == '-' && !word.empty() && i + 1 < mode.size() && alphanumeric(mode[i + 1])));
        if (inner) {
            word += mode[i];
            continue;
        }
        if (!word.empty() && word.size() <= kLongestWord) {
            AppendWord(spoken, word);
            ++words;
        }
        word.clear();
    }
    return spoken;
}

// "tone one two seven point three", "D C S zero two three", "tone burst".
std::string SpokenTone(const AccessTone& tone) {
    switch (tone.kind) {
        case AccessTone::Kind::Ctcss: return "tone " + SpokenDigits(StoredTone(tone));
        case AccessTone::Kind::Dcs: return "D C S " + SpokenDigits(StoredTone(tone).substr(1));
        case AccessTone::Kind::Burst: return "tone burst";
    }
    return {};
}

std::string SpokenDistance(const MeasuredStation& measured, std::optional<double> headingDeg) {
    const auto km = static_cast<long long>(std::ceil(measured.km));  // as the row shows it
    std::string spoken = measured.station.fromSquare ? "about " : "";
    spoken += std::to_string(km) + (km == 1 ? " kilometre" : " kilometres");
    if (km == 0) return spoken;
    const std::string_view way =
        headingDeg ? SpokenWay(WayOf(measured.bearingDeg, *headingDeg)) : SpokenCompass(measured.bearingDeg);
    return spoken + " " + std::string(way);
}

}  // namespace

std::string SpokenCall(std::string_view call) {
    std::string spoken;
    for (const char c : call) {
        if (IsDigit(c)) AppendWord(spoken, Capitalised(kDigits[c - '0']));
        else if (IsLetter(c)) AppendWord(spoken, kLetters[Upper(c) - 'A']);
        else if (c == '/') AppendWord(spoken, "stroke");
    }
    return spoken;
}

std::string SpokenDigits(std::string_view number) {
    std::string spoken;
    for (const char c : number) {
        if (IsDigit(c)) AppendWord(spoken, kDigits[c - '0']);
        else if (c == '.') AppendWord(spoken, "point");
    }
    return spoken;
}

std::string SpokenNearest(const MeasuredStation& measured, std::optional<double> headingDeg) {
    const Station& station = measured.station;
    std::string spoken = "Nearest";
    AppendWord(spoken, SpokenCall(station.call));
    for (const std::string& part : {SpokenChannel(station), SpokenMode(station.mode),
                                    station.tone ? SpokenTone(*station.tone) : std::string()})
        if (!part.empty()) spoken += ", " + part;
    return spoken + ", " + SpokenDistance(measured, headingDeg);
}

std::string SpokenSquare(std::string_view locator) { return "Now in " + SpokenCall(locator); }

}  // namespace moltrevane
