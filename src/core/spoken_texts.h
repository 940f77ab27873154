// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What speech says, in the words a ham uses on the air. Speech is given only letters, digits,
// blanks and a few marks between words: nothing a speech program could take for an option or
// a markup, whatever a station's directory row holds.

#include <optional>
#include <string>
#include <string_view>

#include "core/measured_station.h"

namespace moltrevane {

// A call or a locator in the ITU phonetic alphabet, digits as words and "/" as "stroke":
// "DL/PA3XYZ/P" is "Delta Lima stroke Papa Alpha Three X-ray Yankee Zulu stroke Papa". Any
// other character is left out.
std::string SpokenCall(std::string_view call);

// A number's digits one by one: "439.375" is "four three nine point three seven five".
std::string SpokenDigits(std::string_view number);

// "Nearest Sierra Romeo Five Kilo Alpha Bravo, four three nine point three seven five minus
// seven point six, FM, tone one two seven point three, 3 kilometres ahead left": the way
// against the car's heading while it moves, else a compass point; "about 76 kilometres" for a
// station placed only by its square.
std::string SpokenNearest(const MeasuredStation& measured, std::optional<double> headingDeg);

std::string SpokenSquare(std::string_view locator);  // "Now in Juliet Oscar Six Two"

}  // namespace moltrevane
