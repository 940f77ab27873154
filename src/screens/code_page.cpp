// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/code_page.h"

#include <algorithm>
#include <array>

namespace moltrevane {
namespace {

// Code points of the bytes 0x80 … 0x9F; the five bytes Windows-1252 leaves unassigned map to themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A character the code page lacks becomes '?': its low 8 bits would be another letter (Ł an A)
// or a control byte (− 0x12).
char ByteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    const auto* found = std::find(kHighControls.begin(), kHighControls.end(), c);
    if (found == kHighControls.end()) return '?';
    return static_cast<char>(0x80 + (found - kHighControls.begin()));
}

// One character of UTF-8 at text[i]; a malformed byte stands for itself.
char32_t DecodeAt(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) >= text.size()) return byte(i++);
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) return byte(i++);
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

std::string Utf8FromCodePage(std::string_view text) {
    std::string out;
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
    return out;
}

std::string CodePageFromUtf8(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const char32_t c = DecodeAt(utf8, i);
        const bool malformed = i - start == 1 && c >= 0x80;  // a byte that stands for itself
        out += malformed ? static_cast<char>(c) : ByteFor(c);
    }
    return out;
}

}  // namespace moltrevane
