#pragma once
// Every screen's controls: kind, identifier, text and place in dialog units.

#include <span>
#include <string_view>

#include "screens/screen.h"

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

inline constexpr int kDialogWidthUnits = 139;
inline constexpr int kDialogHeightUnits = 154;

const ScreenLayout& LayoutOf(ScreenKind kind);

// Where a control of `controls` is shown. The layout was made for a font with room above its
// letters; a label that begins inside an entry above it (a repeater row's info line) would have
// the entry's lower border through its text. Such a label is shown from the entry's lower edge,
// as tall as before but never into the control below it.
ControlSpec ShownPlace(const ControlSpec& control, std::span<const ControlSpec> controls);

}  // namespace moltrevane
