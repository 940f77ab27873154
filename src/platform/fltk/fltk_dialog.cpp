#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/fltk/fltk_icon.h"
#include "platform/fltk/window_manager_hints.h"
#include "screens/code_page.h"
#include "screens/fitted_text.h"
#include "screens/screen_scale.h"

namespace moltrevane {
namespace {

// '@' starts a symbol in FLTK labels; shown text means it literally.
std::string LabelText(std::string_view utf8) {
    std::string out;
    for (char c : utf8) out += c == '@' ? std::string("@@") : std::string(1, c);
    return out;
}

// The text a label shows, LabelText undone.
std::string ShownText(const char* label) {
    std::string text;
    for (const char* p = label ? label : ""; *p; ++p)
        if (!(p[0] == '@' && p[1] == '@')) text += *p;
    return text;
}

// A UTF-8 text's width in the current font.
double TextWidth(std::string_view utf8) { return fl_width(utf8.data(), static_cast<int>(utf8.size())); }

// A one-line label whose text ends with "…" where it does not fit, instead of a letter cut in
// half at the box's edge: a place name cut short still reads as cut.
class FittingLabel final : public Fl_Box {
public:
    FittingLabel() : Fl_Box(0, 0, 1, 1) {}

    void draw() override {
        draw_box();
        fl_font(labelfont(), labelsize());
        // Off the left edge as FLTK keeps an inside label; the right margin is the text's to use.
        const int left = Fl::box_dx(box()) + 3, width = w() - left - Fl::box_dx(box());
        const std::string fitted = FittedText(ShownText(label()), width, TextWidth);
        fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
        fl_draw(fitted.c_str(), x() + left, y(), width, h(), align(), nullptr, 0);  // '@' as it is
    }
};

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

// A record's lines, broken where the list is too narrow for them instead of cut at its edge;
// broken anew whenever the list's size or font changes.
class WrappingList final : public Fl_Browser {
public:
    WrappingList() : Fl_Browser(0, 0, 1, 1) { format_char(0); }

    void SetLines(std::vector<std::string> utf8Lines) {
        lines_ = std::move(utf8Lines);
        Rewrap();
    }
    void Rewrap() {
        clear();
        fl_font(textfont(), textsize());
        // Room is kept for a scroll bar, which the broken lines may need, and the items' margin.
        const int width = w() - Fl::box_dw(box()) - (scrollbar_size() ? scrollbar_size() : Fl::scrollbar_size()) - 6;
        for (const std::string& line : WrappedLines(lines_, width, TextWidth)) add(line.c_str());
    }

private:
    std::vector<std::string> lines_;
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

// FLTK's RGB colour value (fl_rgb_color, which is not constexpr).
constexpr Fl_Color Rgb(unsigned char r, unsigned char g, unsigned char b) {
    return (static_cast<Fl_Color>(r) << 24) | (static_cast<Fl_Color>(g) << 16) | (static_cast<Fl_Color>(b) << 8);
}

// The two palettes. Night: near-black, dim red and amber, nothing white to dazzle a driver.
struct Palette {
    unsigned char window[3], controls[3], text[3];
    Fl_Color live, stale, offline, lines;
};
constexpr Palette kDay{{255, 255, 255}, {192, 192, 192}, {0, 0, 0},
                       Rgb(255, 0, 0), Rgb(150, 150, 150), Rgb(30, 70, 190), FL_BLACK};
constexpr Palette kNight{{10, 4, 4}, {40, 18, 16}, {176, 112, 32},
                         Rgb(190, 40, 28), Rgb(80, 62, 58), Rgb(176, 112, 32),
                         Rgb(150, 34, 24)};
const Palette* palette = &kDay;

void ApplyPalette(const Palette& chosen) {
    palette = &chosen;
    Fl::background2(chosen.window[0], chosen.window[1], chosen.window[2]);
    Fl::background(chosen.controls[0], chosen.controls[1], chosen.controls[2]);
    Fl::foreground(chosen.text[0], chosen.text[1], chosen.text[2]);
    for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window)) window->redraw();
}

// The drawn time and locator keep to their cells of 9 × 23 design pixels a character, so
// they never cover a control: the font shrinks until the text fits.
constexpr int kCellWidth = 9, kCellHeight = 23;

// The screen's drawing, from design pixels into the window at its scale.
class WidgetPainter final : public Painter {
public:
    explicit WidgetPainter(const ScreenScale& scale) : scale_(scale) {}

    void UseInk(Ink ink) override {
        ink_ = ink == Ink::Live ? palette->live : ink == Ink::Stale ? palette->stale : palette->offline;
        lines_ = ink == Ink::Stale ? palette->stale : palette->lines;
    }
    void DrawText(int x, int y, std::string_view text, double size) override {
        const std::string utf8 = Utf8FromCodePage(text);
        const int left = scale_.X(x), top = scale_.Y(y);
        const int width = scale_.Length(kCellWidth * size * static_cast<double>(text.size()));
        const int height = scale_.Length(kCellHeight * size);
        fl_font(FL_HELVETICA, FittingSize(FL_HELVETICA, utf8, width, height));
        fl_push_clip(left, top, width, height);
        fl_color(FL_BACKGROUND2_COLOR);
        fl_rectf(left, top, static_cast<int>(fl_width(utf8.c_str())), fl_height());
        fl_color(ink_);
        fl_draw(utf8.c_str(), left, top + fl_height() - fl_descent());
        fl_pop_clip();
    }
    void FillWhite(int x, int y, int width, int height) override {
        fl_rectf(scale_.X(x), scale_.Y(y), scale_.Length(width), scale_.Length(height), FL_BACKGROUND2_COLOR);
    }
    void Rectangle(int left, int top, int right, int bottom) override {
        const int x = scale_.X(left), y = scale_.Y(top), w = scale_.X(right) - x, h = scale_.Y(bottom) - y;
        fl_rectf(x, y, w, h, FL_BACKGROUND2_COLOR);
        fl_color(lines_);
        fl_line_style(FL_SOLID, std::max(1, scale_.Length(1)));
        fl_rect(x, y, w, h);
        fl_line_style(0);
    }
    void Line(int x1, int y1, int x2, int y2) override {
        fl_color(lines_);
        fl_line_style(FL_SOLID, std::max(1, scale_.Length(1)));
        fl_line(scale_.X(x1), scale_.Y(y1), scale_.X(x2), scale_.Y(y2));
        fl_line_style(0);
    }

private:
    const ScreenScale& scale_;
    Fl_Color ink_ = palette->live, lines_ = palette->lines;
};

constexpr int kTextSize = 11;  // design pixels; the small dialog font the layout was made for

// The longest sentence NMEA allows, 82 characters, fits the sentence field's two lines.
constexpr int kWrappedTextSize = 9;

Fl_Widget* MakeEntry(const ControlSpec& c, std::function<void()> onLeave) {
    if (c.style & kMultiLine) {
        auto* text = new WrappedText(0, 0, 1, 1);
        if (c.style & kNoBorder) text->box(FL_FLAT_BOX);
        return text;
    }
    auto* input = new ScreenEntry(0, 0, 1, 1, c.style & kUpperCase, std::move(onLeave));
    input->readonly(c.style & kReadOnly ? 1 : 0);
    if (c.style & kNoBorder) input->box(FL_FLAT_BOX);
    if (c.style & kSixCharacters) input->maximum_size(6);
    return input;
}

// The largest item of a list fits beside the arrow ("115200" in 33 units).
int ChoiceTextSize(std::string_view items, int width, int height, int textSize) {
    const int arrow = std::min(20 * textSize / 11, height - 4), room = width - arrow - 10;
    int size = textSize - 1;
    for (std::size_t start = 0; start <= items.size();) {
        const std::size_t end = std::min(items.find('|', start), items.size());
        size = std::min(size, FittingSize(FL_HELVETICA, items.substr(start, end - start), room, size));
        start = end + 1;
    }
    return size;
}

// Sizes of a control's fonts and parts at the scale.
void SizeControl(Fl_Widget& widget, const ControlSpec& c, const ScreenScale& scale) {
    const PixelRect r = scale.Of(c);
    widget.resize(r.x, r.y, r.width, r.height);
    const int textSize = scale.Length(kTextSize);
    widget.labelsize(textSize);
    if (auto* input = dynamic_cast<Fl_Input*>(&widget)) input->textsize(textSize);
    if (auto* text = dynamic_cast<Fl_Text_Display*>(&widget)) {
        text->textsize(scale.Length(kWrappedTextSize));
        text->scrollbar_width(c.style & kNoBorder ? 0 : textSize + 2);
    }
    if (auto* list = dynamic_cast<WrappingList*>(&widget)) {
        list->textsize(textSize);
        list->Rewrap();
    }
    if (auto* choice = dynamic_cast<Fl_Choice*>(&widget)) choice->textsize(ChoiceTextSize(c.text, r.width, r.height, textSize));
}

constexpr int kOneLineHeight = 10;  // dialog units

// A control of the layout, placed and sized later by SizeControl.
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
        case ControlKind::Button: return new Fl_Button(0, 0, 1, 1);
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

// A control of the layout, labelled; the window being built takes ownership.
Fl_Widget* MakeControl(const ControlSpec& c, std::function<void()> onLeave) {
    Fl_Widget* widget = MakeWidget(c, std::move(onLeave));
    if (c.kind != ControlKind::Choice && c.kind != ControlKind::Icon && !c.text.empty())
        widget->copy_label(LabelText(Utf8FromCodePage(c.text)).c_str());
    return widget;
}

}  // namespace

// Paints the screen's own drawing over the controls on every repaint, and lays the controls
// out anew, in the shape and at the largest scale that fit, whenever its size changes.
class ScreenWindow final : public Fl_Double_Window {
public:
    ScreenWindow(ScreenKind kind, int x, int y, const ScreenScale& scale)
        : Fl_Double_Window(x, y, WindowSize(scale.pixelsPerUnit, scale.shape).width,
                           WindowSize(scale.pixelsPerUnit, scale.shape).height),
          kind_(kind), scale_{scale.pixelsPerUnit, 0, 0, scale.shape} {
        const PixelRect smallest = WindowSize(kSmallestPixelsPerUnit, LayoutShape::Design);
        size_range(smallest.width, smallest.height);
    }

    Screen* screen = nullptr;
    const ScreenScale& scale() const { return scale_; }

    // The next control of the layout.
    void Add(Fl_Widget* widget) {
        placed_.push_back(widget);
        PlaceControl(placed_.size() - 1);
    }
    void draw() override {
        Fl_Double_Window::draw();
        if (!screen) return;
        WidgetPainter painter(scale_);
        screen->Paint(painter, scale_.shape);
    }
    void resize(int x, int y, int w, int h) override {
        const bool resized = w != this->w() || h != this->h();
        Fl_Double_Window::resize(x, y, w, h);
        if (!resized) return;
        scale_ = FittingScale(w, h);
        for (std::size_t i = 0; i < placed_.size(); ++i) PlaceControl(i);
        redraw();
    }
    int handle(int event) override {
        if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_F + 11) {
            if (fullscreen_active()) fullscreen_off(); else fullscreen();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }
    // Hiding takes the focus without telling the entry that had it; leaving it first lets
    // what was typed there count, however the screen is closed.
    void hide() override {
        if (contains(Fl::focus())) Fl::focus(this);
        Fl_Double_Window::hide();
    }

private:
    void PlaceControl(std::size_t i) {
        const auto controls = LayoutOf(kind_, scale_.shape).controls;
        SizeControl(*placed_[i], ShownPlace(controls[i], controls), scale_);
    }

    ScreenKind kind_;
    ScreenScale scale_;
    std::vector<Fl_Widget*> placed_;  // in the layout's order
};

FltkDialog::FltkDialog(ScreenKind kind, const ScreenScale& scale, int x, int y) {
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
    }
    window_->end();
    SetProgramIcons(*window_);
}

const ScreenScale& FltkDialog::Scale() const { return window_->scale(); }
int FltkDialog::X() const { return window_->x(); }
int FltkDialog::Y() const { return window_->y(); }

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
    return CodePageFromUtf8(ShownText(found->second->label()));
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

void FltkDialog::Redraw() { window_->redraw(); }

void FltkDialog::SetNight(bool night) {
    if (palette != (night ? &kNight : &kDay)) ApplyPalette(night ? kNight : kDay);
}

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
