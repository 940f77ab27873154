// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Text_Display.H>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fltk/fltk_controls.h"
#include "platform/fltk/fltk_icon.h"
#include "platform/fltk/fltk_palette.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/fltk/keypad_window.h"
#include "platform/fltk/screen_window.h"
#include "platform/fltk/window_manager_hints.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"

namespace moltrevane {

FltkDialog::FltkDialog(ScreenKind kind, const ScreenScale& scale, int x, int y, const AppState& state) {
    const ScreenLayout layout = LayoutOf(kind, LayoutShape::Design);  // the kinds of control, alike in every shape
    window_ = std::make_unique<ScreenWindow>(kind, x, y, scale);
    window_->copy_label(std::string(layout.title).c_str());
    window_->color(FL_BACKGROUND2_COLOR);  // white by day
    for (const ControlSpec& c : layout.controls) {
        const int id = c.id;
        Fl_Widget* widget = MakeControl(c, [this, id] {
            if (screen_) screen_->OnFocusLost(id);
        });
        if (c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox) {
            widget->callback([](Fl_Widget* w, void* data) { static_cast<FltkDialog*>(data)->Pressed(w); }, this);
        }
        window_->Add(widget);
        if (id != 0) controls_[id] = widget;
        if (auto* entry = dynamic_cast<ScreenEntry*>(widget); entry && KeypadFor(c, state)) {
            entry->AskWith([this, &state] { return KeypadWanted(state, window_->scale()); },
                           [this, &state, control = c](std::string_view shown) {
                               return AskOnKeypad(*KeypadFor(control, state), shown, window_->scale());
                           });
        }
    }
    window_->end();
    SetProgramIcons(*window_);
}

void FltkDialog::StartFullScreen() { window_->fullscreen(); }

const ScreenScale& FltkDialog::Scale() const { return window_->scale(); }
int FltkDialog::X() const { return window_->x(); }
int FltkDialog::Y() const { return window_->y(); }
PixelRect FltkDialog::FramePlace() const {
    const FrameExtents frame = FrameOf(*window_);
    return {window_->x() - frame.left, window_->y() - frame.top, window_->w(), window_->h()};
}

FltkDialog::~FltkDialog() { StopTimer(); }

void FltkDialog::Run(Screen& screen, bool modal) {
    screen_ = &screen;
    window_->screen = &screen;
    if (modal) window_->set_modal();
    window_->show();
    if (modal) ForbidMinimising(*window_);
    screen.Initialise();
    while (window_->shown()) Fl::wait();
    StopTimer();
    screen.OnClose();
    window_->screen = nullptr;
    screen_ = nullptr;
}

void FltkDialog::Pressed(Fl_Widget* widget) {
    if (!screen_) return;
    for (const auto& [id, control] : controls_)
        if (control == widget) {
            if (id == ids::kBackButton) Close();
            else screen_->OnPress(id);
            return;
        }
}

void FltkDialog::SetText(int id, std::string_view text) { SetUtf8(id, Utf8FromCodePage(text)); }

void FltkDialog::SetDirectoryText(int id, std::string_view utf8) { SetUtf8(id, utf8); }

void FltkDialog::SetUtf8(int id, std::string_view utf8) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return;
    const std::string text(utf8);
    if (auto* input = dynamic_cast<Fl_Input*>(found->second)) {
        input->value(text.c_str());
    } else if (auto* wrapped = dynamic_cast<Fl_Text_Display*>(found->second)) {
        wrapped->buffer()->text(OneLineEndEach(text).c_str());
    } else {
        found->second->copy_label(LabelText(text).c_str());
        window_->redraw();
    }
}

std::string FltkDialog::Text(int id) const {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return {};
    if (const auto* input = dynamic_cast<const Fl_Input*>(found->second)) return CodePageFromUtf8(input->value());
    if (const auto* wrapped = dynamic_cast<const Fl_Text_Display*>(found->second)) {
        char* text = wrapped->buffer()->text();  // a copy the caller frees
        const std::string copy = text;
        std::free(text);
        return CodePageFromUtf8(copy);
    }
    return CodePageFromUtf8(ShownText(found->second->label()));
}

void FltkDialog::SetEnabled(int id, bool enabled) {
    if (const auto found = controls_.find(id); found != controls_.end()) {
        if (enabled) found->second->activate(); else found->second->deactivate();
    }
}

void FltkDialog::SetShown(int id, bool shown) {
    if (const auto found = controls_.find(id); found != controls_.end()) {
        if (shown) found->second->show(); else found->second->hide();
        window_->redraw();
    }
}

void FltkDialog::SetReadOnly(int id, bool readOnly) {
    if (const auto found = controls_.find(id); found != controls_.end())
        if (auto* input = dynamic_cast<Fl_Input*>(found->second)) input->readonly(readOnly ? 1 : 0);
}

void FltkDialog::Focus(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return;
    auto* entry = dynamic_cast<ScreenEntry*>(found->second);
    if (entry) entry->Enter();
    found->second->take_focus();
    if (entry) entry->AskSoon();
}

void FltkDialog::SetChecked(int id, bool checked) {
    if (const auto found = controls_.find(id); found != controls_.end())
        if (auto* box = dynamic_cast<Fl_Check_Button*>(found->second)) box->value(checked ? 1 : 0);
}

bool FltkDialog::Checked(int id) const {
    const auto found = controls_.find(id);
    const auto* box = found == controls_.end() ? nullptr : dynamic_cast<const Fl_Check_Button*>(found->second);
    return box && box->value() != 0;
}

void FltkDialog::Select(int id, int item) {
    if (const auto found = controls_.find(id); found != controls_.end())
        if (auto* choice = dynamic_cast<Fl_Choice*>(found->second)) choice->value(item);
}

int FltkDialog::Selection(int id) const {
    const auto found = controls_.find(id);
    const auto* choice = found == controls_.end() ? nullptr : dynamic_cast<const Fl_Choice*>(found->second);
    return choice ? choice->value() : -1;
}

void FltkDialog::SetLines(int id, const std::vector<std::string>& utf8Lines) {
    const auto found = controls_.find(id);
    if (auto* list = found == controls_.end() ? nullptr : dynamic_cast<WrappingList*>(found->second)) list->SetLines(utf8Lines);
}

void FltkDialog::OnTick(void* self) {
    auto* dialog = static_cast<FltkDialog*>(self);
    Fl::repeat_timeout(1.0, OnTick, self);
    if (dialog->screen_) dialog->screen_->OnTimer();
}

void FltkDialog::StartTimer() {
    Fl::remove_timeout(OnTick, this);
    Fl::add_timeout(1.0, OnTick, this);
}

void FltkDialog::StopTimer() { Fl::remove_timeout(OnTick, this); }

// The window's own callback closes it, as Escape and the close box do.
void FltkDialog::Close() { window_->do_callback(); }

void FltkDialog::Redraw() { window_->redraw(); }

void FltkDialog::SetNight(bool night) { UseNightPalette(night); }

std::vector<std::string> FltkDialog::ChooseFiles(std::string_view title) {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_MULTI_FILE);
    const std::string utf8Title = Utf8FromCodePage(title);
    chooser.title(utf8Title.c_str());
    std::vector<std::string> files;
    if (chooser.show() != 0) return files;  // cancelled, or no chooser
    for (int i = 0; i < chooser.count(); ++i) files.emplace_back(chooser.filename(i));
    return files;
}

}  // namespace moltrevane
