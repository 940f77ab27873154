// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/code_page.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

TEST(CodePage, RoundTripsEveryByteThroughUtf8) {
    EXPECT_EQ(Utf8FromCodePage("15 \xB0"), "15 \u00B0");
    EXPECT_EQ(Utf8FromCodePage("\x80"), "\u20AC");
    EXPECT_EQ(CodePageFromUtf8("\u00DCberlingen \u20AC"), "\xDC" "berlingen \x80");
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(CodePageFromUtf8(Utf8FromCodePage(byte)), byte) << b;
    }
    // Beyond the code page: a question mark, never another letter or a control byte.
    EXPECT_EQ(CodePageFromUtf8("\u0141\u00F3d\u017A \u2212 \u0080\xF0\x9F\x93\xA1"), "?\xF3" "d? ? ??");
    EXPECT_EQ(CodePageFromUtf8("a\xE2\x82"), "a\xE2\x82");      // a cut sequence stays as bytes
}

}  // namespace
}  // namespace moltrevane
