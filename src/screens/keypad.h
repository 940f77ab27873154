// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own keypad for a panel without a keyboard: which text a field takes, the keys
// valid at each place of it, and where the keys lie on the panel.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screens/layout.h"
#include "screens/screen_scale.h"

namespace moltrevane {

struct AppState;

enum class KeypadKind { Locator, Call, Address };

struct KeypadUse {
    KeypadKind kind;
    std::size_t longest;  // characters
};

// The keys a keypad of the kind shows, in their order.
std::string_view KeysOf(KeypadKind kind);

// The keypad an entry of the layout gets, if any: the target's locator as long as the driving
// screen's length, the offline locator six characters.
std::optional<KeypadUse> KeypadFor(const ControlSpec& entry, const AppState& state);

// Whether a tap on a field opens the keypad: as Moltrevane.ini says, else on a car's panel.
bool KeypadWanted(const AppState& state, const ScreenScale& scale);

// The text typed on the keypad: only a key valid at the next place is taken, so that each tap
// leaves a text that is valid as far as it goes (a locator's letters A-R, digits, letters A-X,
// digits, letters A-X).
class Keypad {
public:
    // Starts with `text` when it is valid so far (upper-cased), else empty.
    Keypad(KeypadUse use, std::string_view text);
    const std::string& Text() const { return text_; }
    KeypadKind Kind() const { return use_.kind; }
    bool Allows(char key) const;
    // A key taken, lower-case letters as upper; false for one not valid here.
    bool Press(char key);
    void Erase();

private:
    KeypadUse use_;
    std::string text_;
};

// The keypad window's parts in pixels, the window's top left at 0, 0: the typed text, a key per
// KeysOf character, then the erase key, "OK" and "Cancel". Keys are 16 dialog units of the
// panel's scale (9 mm and more on a 7-inch panel), in as many columns as the panel's width holds.
struct KeypadPlaces {
    PixelRect window, text;
    std::vector<PixelRect> keys;
    PixelRect erase, ok, cancel;
};
KeypadPlaces KeypadLayout(KeypadKind kind, const ScreenScale& scale, int panelWidth);

}  // namespace moltrevane
