// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/fitted_text.h"

#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

// Ten pixels a character, whatever its bytes.
double Measure(std::string_view utf8) {
    double width = 0;
    for (const char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 10 : 0;
    return width;
}

// tests/screens/golden/fitted-texts.txt: a text, the width, what shows.
TEST(FittedText, EndsWithAnEllipsisCutBetweenCharacters) {
    testing::ExpectCases("fitted-texts.txt", [](const std::vector<std::string>& c) { return FittedText(c.at(0), std::stoi(c.at(1)), Measure); });
}

// A record's line too long for the list goes on in the next, indented, never cut inside a
// character; a megabyte-long field costs a bounded number of lines and measures.
TEST(WrappedLines, BreakAtBlanksElseBetweenCharacters) {
    EXPECT_EQ(WrappedLines({"OEYP - JN58JF", ""}, 200, Measure), (std::vector<std::string>{"OEYP - JN58JF", ""}));
    EXPECT_EQ(WrappedLines({"   Relais Hohe Warte bei Wien"}, 150, Measure),
              (std::vector<std::string>{"   Relais Hohe", "      Warte bei", "      Wien"}));
    EXPECT_EQ(WrappedLines({"   Abcdefghijklm"}, 100, Measure),
              (std::vector<std::string>{"   Abcdefg", "      hijk", "      lm"})) << "no blank but the indent's";
    EXPECT_EQ(WrappedLines({"ÜÜÜÜ"}, 20, Measure),
              (std::vector<std::string>{"ÜÜ", "   Ü", "   Ü"})) << "a character goes on where none fits";
    int measures = 0;
    const std::vector<std::string> pieces = WrappedLines({std::string(1'000'000, 'x')}, 1000, [&](std::string_view text) {
        ++measures;
        return Measure(text);
    });
    EXPECT_LE(pieces.size(), 50u);
    EXPECT_EQ(pieces.back().substr(pieces.back().size() - 3), "…");
    EXPECT_LT(measures, 2000);
}

}  // namespace
}  // namespace moltrevane
