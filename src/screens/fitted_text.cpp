// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/fitted_text.h"

namespace moltrevane {
namespace {

constexpr std::string_view kEllipsis = "\u2026";

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// The end of the longest head of the text for which `fits` holds, at a character's start; 0
// where none does. Halving keeps a directory's megabyte-long field from costing a measure a byte.
std::size_t LongestHead(std::string_view text, const std::function<bool(std::string_view)>& fits) {
    if (fits(text)) return text.size();
    std::size_t low = 0, high = text.size();  // the head up to low fits, up to high does not
    while (high - low > 1) {
        const std::size_t middle = (low + high) / 2;
        (fits(text.substr(0, middle)) ? low : high) = middle;
    }
    while (low > 0 && !StartsCharacter(text[low])) --low;
    return low;
}

// What is wrapped of a line is bounded: beyond, it ends with "…".
constexpr std::size_t kLongestWrappedLine = 4000;

std::string Bounded(std::string_view line) {
    if (line.size() <= kLongestWrappedLine) return std::string(line);
    std::size_t end = kLongestWrappedLine;
    while (end > 0 && !StartsCharacter(line[end])) --end;
    return std::string(line.substr(0, end)) + std::string(kEllipsis);
}

void WrapLine(std::string_view whole, double width, const TextMeasure& measure, std::vector<std::string>& out) {
    const std::string line = Bounded(whole);
    const std::size_t ownIndent = std::min(line.find_first_not_of(' '), line.size());
    const std::string further(ownIndent + 3, ' ');
    std::string indent;
    std::string_view rest = line;
    for (;; indent = further) {
        std::size_t end = LongestHead(rest, [&](std::string_view head) { return measure(indent + std::string(head)) <= width; });
        if (end == rest.size()) break;
        while (end == 0 || (end < rest.size() && !StartsCharacter(rest[end]))) ++end;  // a character goes on at least
        const std::size_t blank = rest.substr(0, end + 1).find_last_of(' ');
        if (blank != std::string_view::npos && blank > (indent.empty() ? ownIndent : 0)) end = blank;
        out.push_back(indent + std::string(rest.substr(0, end)));
        rest.remove_prefix(end);
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        if (rest.empty()) return;
    }
    out.push_back(indent + std::string(rest));
}

}  // namespace

std::string FittedText(std::string_view utf8, double width, const TextMeasure& measure) {
    if (measure(utf8) <= width) return std::string(utf8);
    std::string_view kept = utf8.substr(0, LongestHead(utf8, [&](std::string_view head) {
        return measure(std::string(head) + std::string(kEllipsis)) <= width;
    }));
    while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);  // "Berlin …" reads as a word cut off
    if (!kept.empty()) return std::string(kept) + std::string(kEllipsis);
    return measure(kEllipsis) <= width ? std::string(kEllipsis) : std::string();
}

std::vector<std::string> WrappedLines(const std::vector<std::string>& utf8Lines, double width, const TextMeasure& measure) {
    std::vector<std::string> wrapped;
    for (const std::string& line : utf8Lines) WrapLine(line, width, measure, wrapped);
    return wrapped;
}

}  // namespace moltrevane
