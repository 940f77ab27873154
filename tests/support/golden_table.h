// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table of cases checked in as a text file: each line "INPUT = WHAT IT MAKES", "#" lines and
// blank lines as comments. The test makes each line's output again from its input and compares
// the whole text with the file, so a case that changed shows as a line of the diff; with
// MOLTREVANE_REGENERATE_GOLDEN=1 it writes what it made instead (review it with git diff).

#include <cstdio>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/golden.h"

namespace moltrevane::testing {

// `name` from the tests folder; `make` reads a line's input from the stream it is given.
inline void ExpectTable(const std::string& name, const std::function<std::string(std::istream&)>& make) {
    const std::filesystem::path file = std::filesystem::path(MOLTREVANE_SOURCE_DIR) / "tests" / name;
    std::istringstream lines(ReadFile(file));
    std::string made;
    int cases = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            made += line + "\n";
            continue;
        }
        std::istringstream input(line.substr(0, line.find(" =")));
        const std::string output = make(input);
        made += input.str() + " =" + (output.empty() ? "" : " ") + output + "\n";
        ++cases;
    }
    EXPECT_GT(cases, 0) << file << ": no cases";
    ExpectGolden(file, made);
}

// A line's input as its fields between '|', an empty one at either end kept.
inline std::vector<std::string> FieldsOf(std::istream& input) {
    const std::string line{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
    std::vector<std::string> fields;
    for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1)
        fields.push_back(line.substr(at, (bar = line.find('|', at)) - at));
    return fields;
}

inline std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Bytes as one line of a table: \r, \n and \\ as so, any other byte outside printable ASCII
// as \xHH.
inline std::string Escaped(std::string_view bytes) {
    std::string text;
    for (const unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\\' ? "\\\\" : c >= 0x20 && c < 0x7F ? std::string(1, c) : hex;
    }
    return text;
}

// The bytes of an Escaped text.
inline std::string Unescaped(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
        } else if (text[++i] == 'x') {
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += text[i] == 'r' ? '\r' : text[i] == 'n' ? '\n' : text[i];
        }
    }
    return bytes;
}

// Every digit a double holds: equal texts are equal numbers.
inline std::string Exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace moltrevane::testing
