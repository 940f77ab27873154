// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/keypad_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>

#include <memory>
#include <vector>

#include "platform/fltk/fltk_icon.h"
#include "platform/fltk/window_manager_hints.h"

namespace moltrevane {
namespace {

Fl_Button* MakeKey(const PixelRect& r, const char* label, int textSize) {
    auto* button = new Fl_Button(r.x, r.y, r.width, r.height);
    button->copy_label(label);
    button->labelsize(textSize);
    button->clear_visible_focus();
    return button;
}

class KeypadWindow final : public Fl_Double_Window {
public:
    KeypadWindow(KeypadUse use, std::string_view text, const KeypadPlaces& places, int x, int y)
        : Fl_Double_Window(x, y, places.window.width, places.window.height, "Keypad"), keypad_(use, text) {
        const int textSize = places.text.height / 2;
        text_ = new Fl_Box(FL_DOWN_BOX, places.text.x, places.text.y, places.text.width, places.text.height, nullptr);
        text_->labelsize(textSize);
        text_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
        const std::string_view keys = KeysOf(use.kind);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char label[2] = {keys[i], '\0'};
            Fl_Button* key = MakeKey(places.keys[i], label, textSize);
            key->callback([](Fl_Widget* w, void* self) { static_cast<KeypadWindow*>(self)->Type(w->label()[0]); }, this);
            keys_.push_back(key);
        }
        MakeKey(places.erase, "Del", textSize)->callback([](Fl_Widget*, void* self) { static_cast<KeypadWindow*>(self)->Erase(); }, this);
        MakeKey(places.ok, "OK", textSize)->callback([](Fl_Widget*, void* self) { static_cast<KeypadWindow*>(self)->Accept(); }, this);
        MakeKey(places.cancel, "Cancel", textSize)->callback([](Fl_Widget*, void* self) { static_cast<Fl_Window*>(self)->hide(); }, this);
        end();
        SetProgramIcons(*this);
        Show();
    }

    std::optional<std::string> Run() {
        set_modal();
        show();
        ForbidMinimising(*this);
        while (shown()) Fl::wait();
        if (!accepted_) return std::nullopt;
        return keypad_.Text();
    }

    int handle(int event) override {
        if (event != FL_KEYBOARD) return Fl_Double_Window::handle(event);
        const int key = Fl::event_key();
        if (key == FL_BackSpace) Erase();
        else if (key == FL_Enter || key == FL_KP_Enter) Accept();
        else if (key == FL_Escape) hide();
        else if (Fl::event_length() == 1) Type(Fl::event_text()[0]);
        else return Fl_Double_Window::handle(event);
        return 1;
    }

private:
    void Type(char key) {
        keypad_.Press(key);
        Show();
    }
    void Erase() {
        keypad_.Erase();
        Show();
    }
    void Accept() {
        accepted_ = true;
        hide();
    }
    // The text so far, and only the keys valid at its next place.
    void Show() {
        text_->copy_label(keypad_.Text().c_str());
        for (Fl_Button* key : keys_) {
            if (keypad_.Allows(key->label()[0])) key->activate(); else key->deactivate();
        }
        redraw();
    }

    Keypad keypad_;
    Fl_Box* text_ = nullptr;
    std::vector<Fl_Button*> keys_;
    bool accepted_ = false;
};

}  // namespace

std::optional<std::string> AskOnKeypad(KeypadUse use, std::string_view text, const ScreenScale& scale) {
    PixelRect area{};
    Fl::screen_work_area(area.x, area.y, area.width, area.height);
    const KeypadPlaces places = KeypadLayout(use.kind, scale, area.width);
    // At the bottom of the work area, where a hand rests, the window's frame inside it.
    const PixelRect at = OnScreen({area.x + (area.width - places.window.width) / 2, area.y + area.height,
                                   places.window.width, places.window.height}, area);
    KeypadWindow window(use, text, places, at.x, at.y);
    return window.Run();
}

}  // namespace moltrevane
