// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every screen's controls: kind, identifier, text and place in dialog units.

#include <span>
#include <string_view>

#include "screens/screen.h"
#include "screens/station_picture.h"

namespace moltrevane {

struct ScreenScale;

enum class ControlKind { Label, Entry, Button, CheckBox, Choice, Frame, List, Icon };

enum ControlStyle : unsigned {
    kPlain = 0,
    kReadOnly = 1,
    kNoBorder = 2,
    kUpperCase = 4,
    kMultiLine = 8,
    kSixCharacters = 16,
    // What the program's keypad offers for the entry: a locator's, a call's or an address's keys.
    kLocatorKeys = 32,
    kCallKeys = 64,
    kAddressKeys = 128,
    kRowText = 256,    // a repeater row's text: read at a glance, larger on a car's panel
    kPlaceText = 512,  // a row's place: as large in the wide layout, where it has the width
};

struct ControlSpec {
    ControlKind kind;
    int id;  // 0 for controls nobody addresses
    std::string_view text;  // a Choice's items, separated by '|'
    int x, y, width, height;
    unsigned style = kPlain;
};

struct ScreenLayout {
    std::string_view title;
    std::span<const ControlSpec> controls;
};

// A layout's size in dialog units: the design's 139 × 154, 256 × 154 for a panel of 5:3, or
// 139 × 231 for one of 3:5.
struct LayoutUnits {
    int width, height;
};
inline constexpr int kPortraitHeight = 231;
LayoutUnits UnitsOf(LayoutShape shape);

// A window clearly wider than the design's shape, wider than 4:3, gets the wide layout; one
// clearly taller, taller than 3:4, the portrait layout.
LayoutShape ShapeFor(int width, int height);

// Every shape of a screen has the same controls in the same order; only their places differ.
ScreenLayout LayoutOf(ScreenKind kind, LayoutShape shape);

// What the main screen draws, in design pixels (1.75 a dialog unit): the time and the locator,
// their text `textSize` times the design's, the 220 × 106 position map, and the picture of the
// stations around the car that the wide layout shows in the map's stead (a tap on either shows
// the other, in both shapes).
struct MainDrawingPlaces {
    int timeX, timeY, locatorX, locatorY;
    double textSize;
    int mapX, mapY;
    PictureArea picture;
};
const MainDrawingPlaces& MainDrawingOf(LayoutShape shape);

// Whether a finger touches the control: buttons, check boxes, lists to choose from, and entries
// typed into on the keypad but those only typed after a button (a repeater row's call).
bool Touched(const ControlSpec& c);

// The height of a control's text in window pixels: the design's 11 pixels scaled, a repeater
// row's 14 on a car's panel (18 pixels from baseline to capital on a 7-inch 800 × 480 one), its
// place's 14 in the wide layout and 10 in the portrait one, where a whole place needs the width.
int TextPixels(const ControlSpec& c, const ScreenScale& scale);

// Where a control of `controls` is shown. The layout was made for a font with room above its
// letters; a label that begins inside an entry above it (a repeater row's info line) would have
// the entry's lower border through its text. Such a label is shown from the entry's lower edge,
// as tall as before but never into the control below it.
ControlSpec ShownPlace(const ControlSpec& control, std::span<const ControlSpec> controls);

}  // namespace moltrevane
