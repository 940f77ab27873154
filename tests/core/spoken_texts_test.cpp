// SPDX-License-Identifier: GPL-3.0-or-later
// What speech says of a station, a square, a call.
#include <gtest/gtest.h>

#include "core/spoken_texts.h"

namespace moltrevane {
namespace {

TEST(SpokenCall, TheItuAlphabetWithDigitsAsWordsAndStrokes) {
    const struct {
        const char* call;
        const char* spoken;
    } cases[] = {
        {"DL/PA3XYZ/P", "Delta Lima stroke Papa Alpha Three X-ray Yankee Zulu stroke Papa"},
        {"SR5KAB", "Sierra Romeo Five Kilo Alpha Bravo"},
        {"gb3fk", "Golf Bravo Three Foxtrot Kilo"},
        {"OE9XRK-QUJ", "Oscar Echo Nine X-ray Romeo Kilo Quebec Uniform Juliet"},
        {"W1AW 0", "Whiskey One Alpha Whiskey Zero"},
        {"HB9CV/M", "Hotel Bravo Nine Charlie Victor stroke Mike"},
        {"D\u00D60ABC", "Delta Zero Alpha Bravo Charlie"},  // a letter beyond the alphabet is left out
        {"-v;<speak>", "Victor Sierra Papa Echo Alpha Kilo"},
        {"--", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SpokenCall(c.call), c.spoken) << c.call;
    EXPECT_EQ(SpokenDigits("439.375"), "four three nine point three seven five");
    EXPECT_EQ(SpokenSquare("JO62QM"), "Now in Juliet Oscar Six Two Quebec Mike");
    EXPECT_EQ(SpokenSquare("JN58"), "Now in Juliet November Five Eight");
}

Station Listed(StoredRow row, bool fromSquare = false) {
    Station station = StationOf(row);
    station.fromSquare = fromSquare;
    return station;
}

TEST(SpokenNearest, CallChannelModeToneDistanceAndWay) {
    const double ahead = 90;  // the car going east
    const struct {
        MeasuredStation measured;
        std::optional<double> heading;
        const char* spoken;
    } cases[] = {
        {{Listed({"SR5KAB", "KO02PF", "", "FM", "", "439.375", "431.775", "", "127.3"}), 2.3, 92}, ahead,
         "Nearest Sierra Romeo Five Kilo Alpha Bravo, four three nine point three seven five minus seven point six, FM, "
         "tone one two seven point three, 3 kilometres ahead"},
        {{Listed({"SR5KAB", "KO02PF", "", "FM", "", "439.375", "431.775", "", "127.3"}), 2.3, 92}, std::nullopt,
         "Nearest Sierra Romeo Five Kilo Alpha Bravo, four three nine point three seven five minus seven point six, FM, "
         "tone one two seven point three, 3 kilometres east"},
        {{Listed({"DB0RPT", "", "", "D-STAR", "", "145.625", "145.025"}), 11.3, 44}, 90.0,
         "Nearest Delta Bravo Zero Romeo Papa Tango, one four five point six two five minus zero point six, D-STAR, "
         "12 kilometres ahead left"},
        {{Listed({"DB0X/P", "", "", "C4FM/DMR", "", "1298.225", "1305.825", "", "D023"}), 0.4, 170}, 350.0,
         "Nearest Delta Bravo Zero X-ray stroke Papa, one two nine eight point two two five plus seven point six, "
         "C4FM DMR, D C S zero two three, 1 kilometre behind"},
        {{Listed({"GB3FK", "IO91", "", "FM", "", "145.7625", "145.1625", "", "1750"}, true), 75.2, 135}, 0.0,
         "Nearest Golf Bravo Three Foxtrot Kilo, one four five point seven six two five minus zero point six, FM, "
         "tone burst, about 76 kilometres behind right"},
        {{Listed({"DB0S", "", "", "", "", "144.8", "144.8", "", "note"}), 2, 180}, std::nullopt,
         "Nearest Delta Bravo Zero Sierra, one four four point eight, 2 kilometres south"},
        {{Listed({"-v;DB0B", "", "", "--help <b>x</b>", ""}), 0, 0}, std::nullopt,
         "Nearest Victor Delta Bravo Zero Bravo, help b x, 0 kilometres"},
    };
    for (const auto& c : cases) {
        const std::string spoken = SpokenNearest(c.measured, c.heading);
        EXPECT_EQ(spoken, c.spoken);
        // Nothing a speech program could take for an option or a markup.
        EXPECT_EQ(spoken.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ,-"),
                  std::string::npos) << spoken;
        EXPECT_EQ(spoken.find(" -"), std::string::npos) << spoken;
    }
}

}  // namespace
}  // namespace moltrevane
