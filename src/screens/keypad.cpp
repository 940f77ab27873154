// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/keypad.h"

#include <algorithm>
#include <cmath>

#include "core/app_state.h"

namespace moltrevane {
namespace {

constexpr std::string_view kDigits = "0123456789";
constexpr std::size_t kLongestCall = 23;
constexpr std::size_t kLongestAddress = 100;
constexpr int kKeyUnits = 16;
constexpr int kMostColumns = 10;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool InRange(char c, char first, char last) { return c >= first && c <= last; }

// A locator's pairs: field letters, square digits, subsquare letters, then digits and letters again.
bool LocatorAllows(std::size_t place, char c) {
    if (place < 2) return InRange(c, 'A', 'R');
    if ((place / 2) % 2 == 1) return InRange(c, '0', '9');
    return InRange(c, 'A', 'X');
}

}  // namespace

std::string_view KeysOf(KeypadKind kind) {
    switch (kind) {
        case KeypadKind::Locator: return "0123456789ABCDEFGHIJKLMNOPQRSTUVWX";
        case KeypadKind::Call: return "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/";
        case KeypadKind::Address: return "0123456789.:";
    }
    return kDigits;
}

std::optional<KeypadUse> KeypadFor(const ControlSpec& entry, const AppState& state) {
    if (entry.kind != ControlKind::Entry || (entry.style & kMultiLine)) return std::nullopt;
    if (entry.style & kLocatorKeys) {
        const int length = entry.style & kSixCharacters ? 6 : state.drive.locatorLength;
        return KeypadUse{KeypadKind::Locator, static_cast<std::size_t>(length)};
    }
    if (entry.style & kCallKeys) return KeypadUse{KeypadKind::Call, kLongestCall};
    if (entry.style & kAddressKeys) return KeypadUse{KeypadKind::Address, kLongestAddress};
    return std::nullopt;
}

bool KeypadWanted(const AppState& state, const ScreenScale& scale) { return state.keypad.value_or(IsCarScale(scale)); }

Keypad::Keypad(KeypadUse use, std::string_view text) : use_(use) {
    for (const char c : text)
        if (!Press(c)) {
            text_.clear();
            return;
        }
}

bool Keypad::Allows(char key) const {
    key = Upper(key);
    if (text_.size() >= use_.longest) return false;
    if (use_.kind == KeypadKind::Locator) return LocatorAllows(text_.size(), key);
    return KeysOf(use_.kind).find(key) != std::string_view::npos;
}

bool Keypad::Press(char key) {
    if (!Allows(key)) return false;
    text_ += Upper(key);
    return true;
}

void Keypad::Erase() {
    if (!text_.empty()) text_.pop_back();
}

KeypadPlaces KeypadLayout(KeypadKind kind, const ScreenScale& scale, int panelWidth) {
    const int key = static_cast<int>(std::lround(kKeyUnits * scale.pixelsPerUnit));
    const int gap = std::max(2, key / 12), step = key + gap;
    const std::size_t count = KeysOf(kind).size() + 1;  // and the erase key
    const int columns = std::clamp((panelWidth - gap) / step, 4, kMostColumns);
    const int rows = static_cast<int>((count + columns - 1) / columns);
    KeypadPlaces places;
    const int width = gap + columns * step;
    places.text = {gap, gap, width - 2 * gap, key};
    for (std::size_t i = 0; i < count; ++i) {
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        places.keys.push_back({gap + column * step, gap + (row + 1) * step, key, key});
    }
    places.erase = places.keys.back();
    places.keys.pop_back();
    const int bottom = gap + (rows + 1) * step;
    const int half = (width - 3 * gap) / 2;
    places.ok = {gap, bottom, half, key};
    places.cancel = {2 * gap + half, bottom, half, key};
    places.window = {0, 0, width, bottom + step};
    return places;
}

}  // namespace moltrevane
