// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One screen as an FLTK window: controls built from its layout, the Dialog calls on them,
// and the screen's events, timer and painting wired back to it.

#include <map>
#include <memory>

#include "screens/screen_scale.h"
#include "screens/screen.h"

class Fl_Widget;

namespace moltrevane {

class ScreenWindow;
struct AppState;

class FltkDialog final : public Dialog {
public:
    // The screen in the shape and at the pixels a dialog unit of `scale`, the window's top left
    // at x, y. A tap on an entry opens the keypad as the state's settings and the scale say.
    FltkDialog(ScreenKind kind, const ScreenScale& scale, int x, int y, const AppState& state);
    ~FltkDialog() override;
    FltkDialog(const FltkDialog&) = delete;
    FltkDialog& operator=(const FltkDialog&) = delete;

    // Shows the window, initialises the screen and returns once the window is closed.
    void Run(Screen& screen, bool modal);
    // Shown full screen from the start; F11 gives the window back.
    void StartFullScreen();
    const ScreenScale& Scale() const;
    int X() const;
    int Y() const;
    // The window's frame: its top left, and the window's size inside it.
    PixelRect FramePlace() const;

    void SetText(int id, std::string_view text) override;
    void SetDirectoryText(int id, std::string_view utf8) override;
    std::string Text(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    void SetReadOnly(int id, bool readOnly) override;
    void Focus(int id) override;
    void SetChecked(int id, bool checked) override;
    bool Checked(int id) const override;
    void Select(int id, int item) override;
    int Selection(int id) const override;
    void SetLines(int id, const std::vector<std::string>& utf8Lines) override;
    void StartTimer() override;
    void StopTimer() override;
    void Redraw() override;
    void SetNight(bool night) override;
    std::vector<std::string> ChooseFiles(std::string_view title) override;
    void Close() override;
    void SetShown(int id, bool shown) override;
    LayoutShape Shape() const override { return Scale().shape; }

private:
    static void OnTick(void* self);
    void Pressed(Fl_Widget* widget);
    void SetUtf8(int id, std::string_view utf8);

    std::unique_ptr<ScreenWindow> window_;
    std::map<int, Fl_Widget*> controls_;
    Screen* screen_ = nullptr;
};

}  // namespace moltrevane
