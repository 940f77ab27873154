// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/message_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

#include "platform/fltk/fltk_icon.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/fltk/window_manager_hints.h"

namespace moltrevane {
namespace {

constexpr int kSmallestTextSize = 10;  // pixels

}  // namespace

void ShowMessageWindow(std::string_view title, std::string_view text, const ScreenScale& scale) {
    PixelRect area{};
    Fl::screen_work_area(area.x, area.y, area.width, area.height);
    const int unit = static_cast<int>(scale.pixelsPerUnit + 0.5);
    const int margin = 3 * unit, button = 16 * unit;
    const int width = std::min(area.width * 9 / 10, 200 * unit);
    // The frame's title bar and borders stay inside the work area too.
    const int highest = area.height * 85 / 100;
    const std::string shown = LabelText(text);
    // A long report (a line per list, narrow for the smallest screen) in smaller letters rather
    // than cut off above "OK".
    int textSize = scale.Length(12) + 1, textHeight = 0;
    do {
        fl_font(FL_HELVETICA, --textSize);
        int textWidth = width - 2 * margin;
        textHeight = 0;
        fl_measure(shown.c_str(), textWidth, textHeight, 0);
    } while (textSize > kSmallestTextSize && margin * 3 + textHeight + button > highest);
    const int height = std::min(highest, margin * 3 + textHeight + button);
    Fl_Double_Window window(area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height);
    const std::string utf8Title(title);
    window.copy_label(utf8Title.c_str());
    auto* message = new Fl_Box(margin, margin, width - 2 * margin, height - 3 * margin - button);
    message->copy_label(shown.c_str());
    message->labelsize(textSize);
    message->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
    auto* ok = new Fl_Return_Button(width - margin - 3 * button, height - margin - button, 3 * button, button, "OK");
    ok->labelsize(textSize);
    ok->callback([](Fl_Widget* w, void*) { w->window()->hide(); });
    window.end();
    SetProgramIcons(window);
    window.set_modal();
    window.show();
    ForbidMinimising(window);
    while (window.shown()) Fl::wait();
}

}  // namespace moltrevane
