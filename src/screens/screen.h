// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen needs from the toolkit, and what the toolkit calls on a screen. Control
// texts here are 8-bit (Windows-1252); text straight from the station directory is UTF-8
// and goes through SetDirectoryText or SetLines.

#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

// One modal window's controls, by identifier.
// The design's shape, a wide one that uses a landscape panel's whole width, and a tall one that
// uses a portrait panel's whole height.
enum class LayoutShape { Design, Wide, Portrait };

class Dialog {
public:
    virtual ~Dialog() = default;
    virtual void SetText(int id, std::string_view text) = 0;
    virtual void SetDirectoryText(int id, std::string_view utf8) = 0;
    virtual std::string Text(int id) const = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual void SetReadOnly(int id, bool readOnly) = 0;
    virtual void Focus(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool Checked(int id) const = 0;
    virtual void Select(int id, int item) = 0;  // -1: no selection
    virtual int Selection(int id) const = 0;    // -1: none
    virtual void SetLines(int id, const std::vector<std::string>& utf8Lines) = 0;
    virtual void StartTimer() = 0;  // every 1000 ms, Screen::OnTimer
    virtual void StopTimer() = 0;
    virtual void Redraw() = 0;
    // The night palette for every screen, this one and those opened later; or the day's.
    virtual void SetNight(bool night) = 0;
    // The shape the screen is shown in now: it follows the window's.
    virtual LayoutShape Shape() const = 0;
    // Files the user picks in the toolkit's chooser (UTF-8 paths); none when cancelled.
    virtual std::vector<std::string> ChooseFiles(std::string_view title) = 0;
    // Leaves the screen, as "Back" does.
    virtual void Close() = 0;
    // Shows or hides a control (a row of a list with fewer entries than rows).
    virtual void SetShown(int id, bool shown) = 0;
};

// How the main screen's drawing is coloured: a position of this second, one kept from an
// earlier second, or the offline locator; and faint, for what lies behind (the rings of the
// picture of the stations).
enum class Ink { Live, Stale, Offline, Faint };

// The main screen's drawing calls, in pixels of its client area at the design's scale.
class Painter {
public:
    virtual ~Painter() = default;
    virtual void UseInk(Ink ink) = 0;  // for the calls that follow; Live until set
    // Sans-serif, 23 pixels high times `size`.
    virtual void DrawText(int x, int y, std::string_view text, double size) = 0;
    virtual void FillWhite(int x, int y, int width, int height) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    virtual void Ring(int centreX, int centreY, int radius) = 0;  // drawn as the lines are
    virtual void Dot(int centreX, int centreY, int radius) = 0;   // filled in the ink
};

enum class ScreenKind { Main, Settings, Repeater, StationInfo, About, EditStation, Links, Driving, ListPicker };

class ScreenOpener {
public:
    virtual ~ScreenOpener() = default;
    // Runs the screen modally and returns when it is closed.
    virtual void Open(ScreenKind kind) = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    virtual void Initialise() {}
    virtual void OnPress(int /*id*/) {}
    virtual void OnFocusLost(int /*id*/) {}
    virtual void OnTimer() {}
    virtual void OnClose() {}
    virtual void Paint(Painter&, LayoutShape) const {}
};

}  // namespace moltrevane
