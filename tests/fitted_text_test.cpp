#include "screens/fitted_text.h"

#include <gtest/gtest.h>

namespace moltrevane {
namespace {

// Ten pixels a character, whatever its bytes.
double Measure(std::string_view utf8) {
    double width = 0;
    for (const char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 10 : 0;
    return width;
}

TEST(FittedText, EndsWithAnEllipsisCutBetweenCharacters) {
    EXPECT_EQ(FittedText("JN58TD - Voiceeast", 180, Measure), "JN58TD - Voiceeast");
    EXPECT_EQ(FittedText("JN58TD - Voiceeast", 100, Measure), "JN58TD -\u2026");
    EXPECT_EQ(FittedText("JN58TD - Voiceeast", 80, Measure), "JN58TD\u2026") << "no blank before the ellipsis";
    EXPECT_EQ(FittedText("Überlingen am See", 50, Measure), "Über\u2026") << "Ü is one character of two bytes";
    EXPECT_EQ(FittedText("\u00DC\u00DC\u00DC", 20, Measure), "\u00DC\u2026");
    EXPECT_EQ(FittedText("Köln", 5, Measure), "") << "not even the ellipsis fits";
    EXPECT_EQ(FittedText("", 0, Measure), "");
}

}  // namespace
}  // namespace moltrevane
