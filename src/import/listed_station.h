// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One station as an outside list gives it, and the directory row made of it.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

struct ListedStation {
    std::string call;
    std::optional<double> latitude, longitude;  // decimal degrees
    std::string locator;
    std::string asl;
    std::vector<std::string> modes;  // the list's own words ("MOTOTRBO", "FM Analog")
    std::string qth;
    std::optional<double> outputMhz, inputMhz;  // the station's transmit and receive frequencies
    std::string channel, tone, remarks;
    bool onAir = true;
};

// call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2, lat, lon: the directory's columns in
// order (lat and lon only from a list that gives the site).
using DirectoryRow = std::array<std::string, 12>;

enum class SkipReason { NoCall, NotWorking, NoPosition };

struct RowOutcome {
    std::optional<DirectoryRow> row;
    SkipReason reason = SkipReason::NoPosition;  // when there is no row
    bool fromSquare = false;  // placed at the centre of a 4-character locator's square
};

// `source` ("RepeaterBook") ends the remarks, so a row tells where it came from.
RowOutcome RowOf(const ListedStation& station, std::string_view source, bool includeInactive);

// A list's mode words in the words the station filter knows ("MOTOTRBO" is "DMR", "DSTAR"
// "D-STAR"), each once, joined with "/"; words it does not know are kept as they are.
std::string DirectoryMode(const std::vector<std::string>& words);

// Whether a word of a list's mode field is a mode at all ("fmpoland", a network, is none).
bool IsModeWord(std::string_view word);

// The words of one mode field: "FM/DMR", "FM, D-STAR", "FM DMR".
void AddModeWords(std::string_view field, std::vector<std::string>& modes);

// How a list writes the way in ("CTCSS 118.8", "Tone 1750", "CC1 / CTCSS 118.8Hz", "D023",
// 127.3): the access tone in the directory's one form, a DMR colour code ("CC1"), and the text
// itself when it holds neither and says more than "none".
struct Access {
    std::string tone, colourCode, unread;
};
Access AccessOf(std::string_view text);

// A status word of any list (WORKING, Off-air, disabled, 0 …): false for a station that is
// not on the air (off, disabled, planned, being built).
bool IsOnAir(std::string_view status);

// "52.5", " 52,5 ", 52 with a unit-less decimal comma; nothing for text, an empty value or a
// number that is not finite.
std::optional<double> NumberOf(std::string_view text);

// Text as the directory keeps it: valid UTF-8 (any other byte becomes "?"), control
// characters as blanks, trimmed, at most `limit` bytes.
std::string CleanText(std::string_view text, std::size_t limit = 1000);

}  // namespace moltrevane
