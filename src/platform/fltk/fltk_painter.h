// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main screen's drawing, from design pixels into the window at its scale.

#include <FL/Enumerations.H>

#include "screens/screen.h"
#include "screens/screen_scale.h"

namespace moltrevane {

class WidgetPainter final : public Painter {
public:
    explicit WidgetPainter(const ScreenScale& scale);

    void UseInk(Ink ink) override;
    void DrawText(int x, int y, std::string_view text, double size) override;
    void FillWhite(int x, int y, int width, int height) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Ring(int centreX, int centreY, int radius) override;
    void Dot(int centreX, int centreY, int radius) override;

private:
    const ScreenScale& scale_;
    Fl_Color ink_, lines_;
};

}  // namespace moltrevane
