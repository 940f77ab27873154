// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <utility>

#include "screens/fitted_text.h"

namespace moltrevane {

std::string LabelText(std::string_view utf8) {
    std::string out;
    for (char c : utf8) out += c == '@' ? std::string("@@") : std::string(1, c);
    return out;
}

std::string ShownText(const char* label) {
    std::string text;
    for (const char* p = label ? label : ""; *p; ++p)
        if (!(p[0] == '@' && p[1] == '@')) text += *p;
    return text;
}

double TextWidth(std::string_view utf8) { return fl_width(utf8.data(), static_cast<int>(utf8.size())); }

int FittingSize(Fl_Font font, std::string_view utf8, int width, int largest) {
    const std::string text(utf8);
    int size = largest;
    for (; size > 6; --size) {
        fl_font(font, size);
        if (fl_width(text.c_str()) <= width) break;
    }
    return size;
}

std::string OneLineEndEach(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

void FittingLabel::draw() {
    draw_box();
    // Off the left edge as FLTK keeps an inside label; the right margin is the text's to use.
    const int left = Fl::box_dx(box()) + 3, width = w() - left - Fl::box_dx(box());
    const std::string shown = ShownText(label());
    fl_font(labelfont(), labelsize());
    const int fullAscent = fl_height() - fl_descent();
    fl_font(labelfont(), std::max(FittingSize(labelfont(), shown, width, labelsize()), labelsize() * 3 / 4));
    const int lower = fullAscent - (fl_height() - fl_descent());  // on the line of its neighbours' text
    const std::string fitted = FittedText(shown, width, TextWidth);
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    fl_draw(fitted.c_str(), x() + left, y() + lower, width, h() - lower, align(), nullptr, 0);  // '@' as it is
}

ScreenEntry::ScreenEntry(bool upperCase, std::function<void()> onLeave)
    : Fl_Input(0, 0, 1, 1), upperCase_(upperCase), onLeave_(std::move(onLeave)) {}

ScreenEntry::~ScreenEntry() { Fl::remove_timeout(AskNow, this); }

// After the tap's release, outside the event's handling: the keypad runs a loop of its own.
void ScreenEntry::AskNow(void* self) {
    auto* entry = static_cast<ScreenEntry*>(self);
    if (!entry->ask_ || entry->readonly()) return;
    entry->asking_ = true;
    const auto answer = entry->ask_(entry->value());
    entry->asking_ = false;
    if (!answer) return;
    entry->value(answer->c_str());
    entry->entered_ = false;
    entry->onLeave_();
}

int ScreenEntry::handle(int event) {
    if (ask_ && !readonly() && (event == FL_PUSH || event == FL_RELEASE) && wanted_()) {
        if (event == FL_RELEASE) Fl::add_timeout(0.0, AskNow, this);
        return 1;
    }
    if (event == FL_UNFOCUS && asking_) return Fl_Input::handle(event);
    if (!readonly() && (event == FL_PUSH || event == FL_KEYBOARD || event == FL_PASTE)) entered_ = true;
    const int handled = Fl_Input::handle(event);
    if (upperCase_ && !readonly() && (event == FL_KEYBOARD || event == FL_PASTE)) ToUpperCase();
    if (event == FL_UNFOCUS && entered_) {
        entered_ = false;
        onLeave_();
    }
    return handled;
}

void ScreenEntry::ToUpperCase() {
    std::string text = value();
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (text == value()) return;
    const int caret = position(), selectionEnd = mark();
    value(text.c_str());
    position(caret, selectionEnd);
}

WrappedText::WrappedText() : Fl_Text_Display(0, 0, 1, 1) {
    buffer(&text_);
    wrap_mode(WRAP_AT_BOUNDS, 0);
}

void WrappingList::SetLines(std::vector<std::string> utf8Lines) {
    lines_ = std::move(utf8Lines);
    Rewrap();
}

void WrappingList::Rewrap() {
    clear();
    fl_font(textfont(), textsize());
    // Room is kept for a scroll bar, which the broken lines may need, and the items' margin.
    const int width = w() - Fl::box_dw(box()) - (scrollbar_size() ? scrollbar_size() : Fl::scrollbar_size()) - 6;
    for (const std::string& line : WrappedLines(lines_, width, TextWidth)) add(line.c_str());
}

}  // namespace moltrevane
