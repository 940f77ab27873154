#include "platform/fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/fltk_icon.h"
#include "screens/code_page.h"

namespace moltrevane {
namespace {

constexpr double kPixelsPerUnit = 1.75;

int Pixels(int units) { return static_cast<int>(std::lround(units * kPixelsPerUnit)); }

// '@' starts a symbol in FLTK labels; shown text means it literally.
std::string LabelText(std::string_view utf8) {
    std::string out;
    for (char c : utf8) out += c == '@' ? std::string("@@") : std::string(1, c);
    return out;
}

// Entries report the user leaving them to the screen, and may turn letters to upper case,
// typed or pasted. FLTK also moves the focus by itself (into the next entry when a focused
// button is disabled, back after a message box); only an editable entry the user clicked,
// typed or pasted into, or was sent to, counts as left.
class ScreenEntry final : public Fl_Input {
public:
    ScreenEntry(int x, int y, int w, int h, bool upperCase, std::function<void()> onLeave)
        : Fl_Input(x, y, w, h), upperCase_(upperCase), onLeave_(std::move(onLeave)) {}

    void Enter() { entered_ = true; }

    int handle(int event) override {
        if (!readonly() && (event == FL_PUSH || event == FL_KEYBOARD || event == FL_PASTE)) entered_ = true;
        const int handled = Fl_Input::handle(event);
        if (upperCase_ && !readonly() && (event == FL_KEYBOARD || event == FL_PASTE)) ToUpperCase();
        if (event == FL_UNFOCUS && entered_) {
            entered_ = false;
            onLeave_();
        }
        return handled;
    }

private:
    void ToUpperCase() {
        std::string text = value();
        for (char& c : text)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (text == value()) return;
        const int caret = position(), selectionEnd = mark();
        value(text.c_str());
        position(caret, selectionEnd);
    }

    bool upperCase_;
    bool entered_ = false;
    std::function<void()> onLeave_;
};

// Read-only text of several lines, wrapped anywhere: NMEA sentences have no blanks to wrap at.
class WrappedText final : public Fl_Text_Display {
public:
    WrappedText(int x, int y, int w, int h) : Fl_Text_Display(x, y, w, h) {
        buffer(&text_);
        wrap_mode(WRAP_AT_BOUNDS, 0);
    }
    ~WrappedText() override { buffer(nullptr); }

private:
    Fl_Text_Buffer text_;
};

// NMEA lines end in CR LF; a text display would show two line ends.
std::string OneLineEndEach(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

// The largest font size up to `largest` at which the text is at most `width` pixels wide.
int FittingSize(Fl_Font font, std::string_view utf8, int width, int largest) {
    const std::string text(utf8);
    int size = largest;
    for (; size > 6; --size) {
        fl_font(font, size);
        if (fl_width(text.c_str()) <= width) break;
    }
    return size;
}

// The drawn time and locator keep to their cells of 9 × 23 pixels a character, so they
// never cover a control: the font shrinks until the text fits.
constexpr int kCellWidth = 9, kCellHeight = 23;

class WidgetPainter final : public Painter {
public:
    void DrawText(int x, int y, std::string_view text) override {
        const std::string utf8 = Utf8FromCodePage(text);
        const int width = kCellWidth * static_cast<int>(text.size());
        fl_font(FL_HELVETICA, FittingSize(FL_HELVETICA, utf8, width, kCellHeight));
        fl_push_clip(x, y, width, kCellHeight);
        fl_color(FL_WHITE);
        fl_rectf(x, y, static_cast<int>(fl_width(utf8.c_str())), fl_height());
        fl_color(FL_RED);
        fl_draw(utf8.c_str(), x, y + fl_height() - fl_descent());
        fl_pop_clip();
    }
    void FillWhite(int x, int y, int width, int height) override { fl_rectf(x, y, width, height, FL_WHITE); }
    void Rectangle(int left, int top, int right, int bottom) override {
        fl_rectf(left, top, right - left, bottom - top, FL_WHITE);
        fl_color(FL_BLACK);
        fl_rect(left, top, right - left, bottom - top);
    }
    void Line(int x1, int y1, int x2, int y2) override {
        fl_color(FL_BLACK);
        fl_line(x1, y1, x2, y2);
    }
};

constexpr int kTextSize = 11;  // pixels; the small dialog font the layout was made for

// The longest sentence NMEA allows, 82 characters, fits the sentence field's two lines.
constexpr int kWrappedTextSize = 9;

Fl_Widget* MakeEntry(const ControlSpec& c, int x, int y, int w, int h, std::function<void()> onLeave) {
    if (c.style & kMultiLine) {
        auto* text = new WrappedText(x, y, w, h);
        text->textsize(kWrappedTextSize);
        if (c.style & kNoBorder) text->box(FL_FLAT_BOX);
        text->scrollbar_width(c.style & kNoBorder ? 0 : kTextSize + 2);
        return text;
    }
    auto* input = new ScreenEntry(x, y, w, h, c.style & kUpperCase, std::move(onLeave));
    input->readonly(c.style & kReadOnly ? 1 : 0);
    if (c.style & kNoBorder) input->box(FL_FLAT_BOX);
    if (c.style & kSixCharacters) input->maximum_size(6);
    input->textsize(kTextSize);
    return input;
}

// The largest item of a list fits beside the arrow ("115200" in 33 units).
int ChoiceTextSize(std::string_view items, int width, int height) {
    const int arrow = std::min(20, height - 4), room = width - arrow - 10;
    int size = kTextSize - 1;
    for (std::size_t start = 0; start <= items.size();) {
        const std::size_t end = std::min(items.find('|', start), items.size());
        size = std::min(size, FittingSize(FL_HELVETICA, items.substr(start, end - start), room, size));
        start = end + 1;
    }
    return size;
}

constexpr int kOneLineHeight = 10;  // dialog units

Fl_Widget* MakeWidget(const ControlSpec& c, std::function<void()> onLeave) {
    const int x = Pixels(c.x), y = Pixels(c.y), w = Pixels(c.width), h = Pixels(c.height);
    switch (c.kind) {
        case ControlKind::Label: {
            // Labels stay inside their box (a long place name would run under the row's button);
            // taller ones wrap.
            auto* box = new Fl_Box(x, y, w, h);
            const bool oneLine = c.height <= kOneLineHeight;
            box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_CLIP | (oneLine ? 0 : FL_ALIGN_WRAP));
            return box;
        }
        case ControlKind::Frame: {
            auto* box = new Fl_Box(FL_ENGRAVED_FRAME, x, y, w, h, nullptr);
            box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
            return box;
        }
        case ControlKind::Entry: return MakeEntry(c, x, y, w, h, std::move(onLeave));
        case ControlKind::Button: return new Fl_Button(x, y, w, h);
        case ControlKind::CheckBox: return new Fl_Check_Button(x, y, w, h);
        case ControlKind::Choice: {
            auto* choice = new Fl_Choice(x, y, w, h);
            choice->add(std::string(c.text).c_str());
            choice->textsize(ChoiceTextSize(c.text, w, h));
            choice->clear_visible_focus();  // a focused choice hides its own item
            return choice;
        }
        case ControlKind::List: {
            auto* list = new Fl_Browser(x, y, w, h);
            list->format_char(0);
            list->textsize(kTextSize);
            return list;
        }
        case ControlKind::Icon: {
            auto* box = new Fl_Box(x, y, w, h);
            box->image(ProgramIcon());
            return box;
        }
    }
    return nullptr;
}

// A control of the layout, labelled; the window being built takes ownership.
Fl_Widget* MakeControl(const ControlSpec& c, std::function<void()> onLeave) {
    Fl_Widget* widget = MakeWidget(c, std::move(onLeave));
    widget->labelsize(kTextSize);
    if (c.kind != ControlKind::Choice && c.kind != ControlKind::Icon && !c.text.empty())
        widget->copy_label(LabelText(Utf8FromCodePage(c.text)).c_str());
    return widget;
}

}  // namespace

// Paints the screen's own drawing over the controls on every repaint.
class ScreenWindow final : public Fl_Double_Window {
public:
    using Fl_Double_Window::Fl_Double_Window;
    Screen* screen = nullptr;
    void draw() override {
        Fl_Double_Window::draw();
        if (!screen) return;
        WidgetPainter painter;
        screen->Paint(painter);
    }
    // Hiding takes the focus without telling the entry that had it; leaving it first lets
    // what was typed there count, however the screen is closed.
    void hide() override {
        if (contains(Fl::focus())) Fl::focus(this);
        Fl_Double_Window::hide();
    }
};

FltkDialog::FltkDialog(ScreenKind kind) {
    const ScreenLayout& layout = LayoutOf(kind);
    const int width = Pixels(kDialogWidthUnits), height = Pixels(kDialogHeightUnits);
    window_ = std::make_unique<ScreenWindow>((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height);
    window_->copy_label(std::string(layout.title).c_str());
    window_->color(FL_WHITE);
    for (const ControlSpec& c : layout.controls) {
        const int id = c.id;
        Fl_Widget* widget = MakeControl(c, [this, id] {
            if (screen_) screen_->OnFocusLost(id);
        });
        if (c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox) {
            widget->callback([](Fl_Widget* w, void* data) { static_cast<FltkDialog*>(data)->Pressed(w); }, this);
        }
        if (id != 0) controls_[id] = widget;
    }
    window_->end();
    SetProgramIcons(*window_);
}

FltkDialog::~FltkDialog() { StopTimer(); }

void FltkDialog::Run(Screen& screen, bool modal) {
    screen_ = &screen;
    window_->screen = &screen;
    if (modal) window_->set_modal();
    window_->show();
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
            screen_->OnPress(id);
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
    const char* label = found->second->label();
    std::string text;
    for (const char* p = label ? label : ""; *p; ++p)
        if (!(p[0] == '@' && p[1] == '@')) text += *p;  // undo LabelText
    return CodePageFromUtf8(text);
}

void FltkDialog::SetEnabled(int id, bool enabled) {
    if (const auto found = controls_.find(id); found != controls_.end()) {
        if (enabled) found->second->activate(); else found->second->deactivate();
    }
}

void FltkDialog::SetReadOnly(int id, bool readOnly) {
    if (const auto found = controls_.find(id); found != controls_.end())
        if (auto* input = dynamic_cast<Fl_Input*>(found->second)) input->readonly(readOnly ? 1 : 0);
}

void FltkDialog::Focus(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return;
    if (auto* entry = dynamic_cast<ScreenEntry*>(found->second)) entry->Enter();
    found->second->take_focus();
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
    auto* list = found == controls_.end() ? nullptr : dynamic_cast<Fl_Browser*>(found->second);
    if (!list) return;
    list->clear();
    for (const std::string& line : utf8Lines) list->add(line.c_str());
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

void FltkDialog::Redraw() { window_->redraw(); }

}  // namespace moltrevane
