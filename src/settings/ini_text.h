// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readable settings file's text: "key = value" lines and "#" comments. Rewriting it
// changes only the values it is given; every other line, unknown keys and comments
// included, stays byte for byte.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace moltrevane {

using IniValues = std::map<std::string, std::string, std::less<>>;

// A line longer than this is no setting (and is kept as it is).
inline constexpr std::size_t kIniLongestLine = 1024;

// Keys are lower-case letters, digits and '_'; blanks around key and value are dropped. Of a
// key given twice the last counts, as a reader going down the file would expect. Lines that
// are not settings (comments, junk, control bytes, overlong) are skipped.
IniValues ParseIni(std::string_view text);

// The text with each key's value set: on every line that has the key, or, for a key it lacks,
// on a new line at the end. Control bytes in a value are dropped: it stays one line. A value
// the reader would not take back (its line longer than kIniLongestLine) is not written, and
// the key's line stays as it was: a file saved again and again never grows.
std::string WithIniValues(std::string_view text, const IniValues& values);

}  // namespace moltrevane
