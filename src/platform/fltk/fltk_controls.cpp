// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_controls.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/fltk/fltk_icon.h"
#include "platform/fltk/fltk_widgets.h"
#include "screens/code_page.h"

namespace moltrevane {
namespace {

// The longest sentence NMEA allows, 82 characters, fits the sentence field's two lines.
constexpr int kWrappedTextSize = 9;

constexpr int kOneLineHeight = 10;  // dialog units

Fl_Widget* MakeEntry(const ControlSpec& c, std::function<void()> onLeave) {
    if (c.style & kMultiLine) {
        auto* text = new WrappedText();
        if (c.style & kNoBorder) text->box(FL_FLAT_BOX);
        return text;
    }
    auto* input = new ScreenEntry(c.style & kUpperCase, std::move(onLeave));
    input->readonly(c.style & kReadOnly ? 1 : 0);
    if (c.style & kNoBorder) input->box(FL_FLAT_BOX);
    if (c.style & kSixCharacters) input->maximum_size(6);
    return input;
}

// The largest item of a list fits beside the arrow ("115200" in 33 units); what an item adds in
// brackets (a port's device) is seen in the open list, and may be cut in the closed one.
int ChoiceTextSize(std::string_view items, int width, int height, int textSize) {
    const int arrow = std::min(20 * textSize / 11, height - 4), room = width - arrow - 10;
    int size = textSize - 1;
    for (std::size_t start = 0; start <= items.size();) {
        const std::size_t end = std::min(items.find('|', start), items.size());
        const std::string_view item = items.substr(start, end - start);
        size = std::min(size, FittingSize(FL_HELVETICA, item.substr(0, item.find(" (")), room, size));
        start = end + 1;
    }
    return size;
}

Fl_Widget* MakeWidget(const ControlSpec& c, std::function<void()> onLeave) {
    switch (c.kind) {
        case ControlKind::Label: {
            // Labels stay inside their box (a long place name would run under the row's button);
            // taller ones wrap.
            const bool oneLine = c.height <= kOneLineHeight;
            Fl_Box* box = oneLine ? new FittingLabel() : new Fl_Box(0, 0, 1, 1);
            box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_CLIP | (oneLine ? 0 : FL_ALIGN_WRAP));
            return box;
        }
        case ControlKind::Frame: {
            auto* box = new Fl_Box(FL_ENGRAVED_FRAME, 0, 0, 1, 1, nullptr);
            box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
            return box;
        }
        case ControlKind::Entry: return MakeEntry(c, std::move(onLeave));
        case ControlKind::Button: {
            auto* button = new Fl_Button(0, 0, 1, 1);
            if (c.style & kNoBorder) {  // unseen over a drawing: a tap on the drawing
                button->box(FL_NO_BOX);
                button->clear_visible_focus();
            }
            return button;
        }
        case ControlKind::CheckBox: return new Fl_Check_Button(0, 0, 1, 1);
        case ControlKind::Choice: {
            auto* choice = new Fl_Choice(0, 0, 1, 1);
            choice->add(std::string(c.text).c_str());
            choice->clear_visible_focus();  // a focused choice hides its own item
            return choice;
        }
        case ControlKind::List: return new WrappingList();
        case ControlKind::Icon: {
            auto* box = new Fl_Box(0, 0, 1, 1);
            box->image(ProgramIcon());
            return box;
        }
    }
    return nullptr;
}

}  // namespace

Fl_Widget* MakeControl(const ControlSpec& c, std::function<void()> onLeave) {
    Fl_Widget* widget = MakeWidget(c, std::move(onLeave));
    if (c.kind != ControlKind::Choice && c.kind != ControlKind::Icon && !c.text.empty())
        widget->copy_label(LabelText(Utf8FromCodePage(c.text)).c_str());
    return widget;
}

namespace {

// On a car's panel a button's or check box's label as large as a row's text where it fits. A
// check box's label keeps at least the screen's text size (FLTK draws it whole, past its box);
// a button's shrinks where not even that fits (a narrow portrait button), as FLTK would cut it.
int TouchedLabelSize(const Fl_Widget& widget, const ControlSpec& c, const PixelRect& r, const ScreenScale& scale, int textSize) {
    if (!IsCarScale(scale) || !widget.label()) return textSize;
    const bool checkBox = c.kind == ControlKind::CheckBox;
    ControlSpec row = c;
    row.style |= kRowText;
    const int fitting = FittingSize(FL_HELVETICA, ShownText(widget.label()), r.width - (checkBox ? r.height : 0) - 12,
                                    std::max(textSize, TextPixels(row, scale)));
    return checkBox ? std::max(textSize, fitting) : fitting;
}

// A drop-down's items as tall as a finger needs, the unit's 16 (one item's height is its font's
// and a few pixels).
void SizeChoiceItems(Fl_Choice& choice, const ScreenScale& scale, int textSize) {
    const int wanted = static_cast<int>(16 * scale.pixelsPerUnit);
    int size = textSize;
    if (IsCarScale(scale))
        for (fl_font(choice.textfont(), size); fl_height() + 5 < wanted && size < 4 * textSize; fl_font(choice.textfont(), ++size)) {}
    auto* items = const_cast<Fl_Menu_Item*>(choice.menu());
    for (int i = 0; items && i < choice.size(); ++i) items[i].labelsize(size);
}

}  // namespace

void SizeControl(Fl_Widget& widget, const ControlSpec& c, const ScreenScale& scale) {
    const PixelRect r = scale.Of(c);
    widget.resize(r.x, r.y, r.width, r.height);
    const int textSize = TextPixels(c, scale);
    widget.labelsize(c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox
                         ? TouchedLabelSize(widget, c, r, scale, textSize) : textSize);
    if (auto* input = dynamic_cast<Fl_Input*>(&widget)) input->textsize(textSize);
    if (auto* text = dynamic_cast<Fl_Text_Display*>(&widget)) {
        text->textsize(scale.Length(kWrappedTextSize));
        text->scrollbar_width(c.style & kNoBorder ? 0 : textSize + 2);
    }
    if (auto* list = dynamic_cast<WrappingList*>(&widget)) {
        list->textsize(textSize);
        list->Rewrap();
    }
    if (auto* choice = dynamic_cast<Fl_Choice*>(&widget)) {
        choice->textsize(ChoiceTextSize(c.text, r.width, r.height, textSize));
        SizeChoiceItems(*choice, scale, choice->textsize());
    }
}

}  // namespace moltrevane
