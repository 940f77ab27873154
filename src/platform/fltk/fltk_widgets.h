// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The FLTK widgets the screens' controls are made of, where FLTK's own do not behave as a
// screen needs, and the label texts they show.

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

// '@' starts a symbol in FLTK labels; shown text means it literally.
std::string LabelText(std::string_view utf8);
// The text a label shows, LabelText undone.
std::string ShownText(const char* label);
// A UTF-8 text's width in the current font.
double TextWidth(std::string_view utf8);
// The largest font size up to `largest` at which the text is at most `width` pixels wide.
int FittingSize(Fl_Font font, std::string_view utf8, int width, int largest);
// NMEA lines end in CR LF; a text display would show two line ends.
std::string OneLineEndEach(std::string_view text);

// A one-line label whose text is drawn up to a quarter smaller where it does not fit, and past
// that ends with "…", instead of a letter cut in half at the box's edge: a distance of three
// digits stays whole, a place name cut short still reads as cut.
class FittingLabel final : public Fl_Box {
public:
    FittingLabel() : Fl_Box(0, 0, 1, 1) {}
    void draw() override;
};

// Entries report the user leaving them to the screen, and may turn letters to upper case,
// typed or pasted. FLTK also moves the focus by itself (into the next entry when a focused
// button is disabled, back after a message box); only an editable entry the user clicked,
// typed or pasted into, or was sent to, counts as left.
class ScreenEntry final : public Fl_Input {
public:
    ScreenEntry(bool upperCase, std::function<void()> onLeave);
    ~ScreenEntry() override;
    void Enter() { entered_ = true; }
    // While `wanted` says so, a tap on the editable entry asks `ask` for its text (the keypad);
    // the text it gives counts as typed and the entry as left. Keys typed still go in.
    using Asker = std::function<std::optional<std::string>(std::string_view shown)>;
    void AskWith(std::function<bool()> wanted, Asker ask) {
        wanted_ = std::move(wanted);
        ask_ = std::move(ask);
    }
    // A screen sent the user here to type (a row's "N"): the keypad opens without a tap.
    void AskSoon() {
        if (ask_ && wanted_()) Fl::add_timeout(0.0, AskNow, this);
    }
    int handle(int event) override;

private:
    void ToUpperCase();
    static void AskNow(void* self);

    bool upperCase_;
    bool entered_ = false;
    bool asking_ = false;  // the keypad has the focus: the entry is not left
    std::function<void()> onLeave_;
    std::function<bool()> wanted_;
    Asker ask_;
};

// Read-only text of several lines, wrapped anywhere: NMEA sentences have no blanks to wrap at.
class WrappedText final : public Fl_Text_Display {
public:
    WrappedText();
    ~WrappedText() override { buffer(nullptr); }

private:
    Fl_Text_Buffer text_;
};

// A record's lines, broken where the list is too narrow for them instead of cut at its edge;
// broken anew whenever the list's size or font changes.
class WrappingList final : public Fl_Browser {
public:
    WrappingList() : Fl_Browser(0, 0, 1, 1) { format_char(0); }
    void SetLines(std::vector<std::string> utf8Lines);
    void Rewrap();

private:
    std::vector<std::string> lines_;
};

}  // namespace moltrevane
