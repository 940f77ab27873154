#pragma once
// Every screen's controls: kind, identifier, text and place in dialog units.

#include <span>
#include <string_view>

#include "screens/screen.h"
#include "screens/station_picture.h"

namespace moltrevane {

enum class ControlKind { Label, Entry, Button, CheckBox, Choice, Frame, List, Icon };

enum ControlStyle : unsigned {
    kPlain = 0,
    kReadOnly = 1,
    kNoBorder = 2,
    kUpperCase = 4,
    kMultiLine = 8,
    kSixCharacters = 16,
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

// A layout's size in dialog units: the design's 139 × 154, or 256 × 154 for a panel of 5:3.
struct LayoutUnits {
    int width, height;
};
LayoutUnits UnitsOf(LayoutShape shape);

// A window clearly wider than the design's shape, wider than 4:3, gets the wide layout.
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

// Where a control of `controls` is shown. The layout was made for a font with room above its
// letters; a label that begins inside an entry above it (a repeater row's info line) would have
// the entry's lower border through its text. Such a label is shown from the entry's lower edge,
// as tall as before but never into the control below it.
ControlSpec ShownPlace(const ControlSpec& control, std::span<const ControlSpec> controls);

}  // namespace moltrevane
