// SPDX-License-Identifier: GPL-3.0-or-later
// The program's keypad: each tap valid at its place, the keypad each entry gets, and keys a
// finger can hit on a car's panel.
#include "screens/keypad.h"

#include <gtest/gtest.h>

#include "screens/layout.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

TEST(Keypad, TakesOnlyWhatIsValidAtEachPlace) {
    testing::ExpectCases("keypad-taps.txt", [](const std::vector<std::string>& t) {
        const KeypadUse use{t.at(0) == "Locator" ? KeypadKind::Locator : t[0] == "Call" ? KeypadKind::Call : KeypadKind::Address,
                            std::stoul(t.at(1))};
        Keypad keypad(use, t.at(2));
        for (const char c : t.at(3)) {
            if (c == '<') keypad.Erase();
            else keypad.Press(c);
        }
        // Every key the keypad offers at the end is one it takes.
        for (const char key : KeysOf(use.kind)) {
            Keypad tried = keypad;
            EXPECT_EQ(tried.Press(key), keypad.Allows(key)) << key;
        }
        return keypad.Text();
    });
}

TEST(Keypad, EachEntryGetsItsKeys) {
    AppState state;
    state.drive.locatorLength = 10;
    const auto keypad = [&](ScreenKind kind, int id) {
        const ControlSpec* control = testing::Find(LayoutOf(kind, LayoutShape::Design).controls, id);
        return control ? KeypadFor(*control, state) : throw std::out_of_range("no such control");
    };
    const auto target = keypad(ScreenKind::Main, ids::kTarget), offline = keypad(ScreenKind::Settings, ids::kOfflineLocator);
    ASSERT_TRUE(target && offline);
    EXPECT_EQ(std::make_tuple(target->kind, target->longest, offline->kind, offline->longest),
              std::make_tuple(KeypadKind::Locator, 10u, KeypadKind::Locator, 6u));
    EXPECT_EQ(keypad(ScreenKind::Repeater, ids::kRepeaterRows[3].call)->kind, KeypadKind::Call);
    EXPECT_EQ(keypad(ScreenKind::Links, ids::kJs8callAddress)->kind, KeypadKind::Address);
    EXPECT_FALSE(keypad(ScreenKind::Main, ids::kUtc) || keypad(ScreenKind::Settings, ids::kNmeaView));
}

// Keys of 9 mm at least (47 pixels on a 7-inch 800 × 480 panel), none over another, the
// window on the panel.
TEST(Keypad, KeysFitAFingerAndThePanel) {
    for (const auto& [width, height] : {std::pair{800, 480}, std::pair{1024, 600}, std::pair{480, 800}})
        for (const KeypadKind kind : {KeypadKind::Locator, KeypadKind::Call, KeypadKind::Address}) {
            const KeypadPlaces places = KeypadLayout(kind, FittingScale(width, height), width);
            EXPECT_LE(places.window.width, width);
            EXPECT_LE(places.window.height, height * 9 / 10) << "room for the window's frame";
            std::vector<PixelRect> all = places.keys;
            all.insert(all.end(), {places.erase, places.ok, places.cancel, places.text});
            EXPECT_EQ(places.keys.size(), KeysOf(kind).size());
            for (std::size_t i = 0; i < all.size(); ++i) {
                const PixelRect& a = all[i];
                EXPECT_TRUE(a.width >= 47 && a.height >= 47) << width << " key " << i;
                EXPECT_TRUE(testing::Inside(a, {0, 0, places.window.width, places.window.height})) << width << " key " << i;
                for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(testing::Overlap(a, all[j])) << i << " over " << j;
            }
        }
}

}  // namespace
}  // namespace moltrevane
