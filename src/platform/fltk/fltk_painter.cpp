// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_painter.h"

#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

#include "platform/fltk/fltk_palette.h"
#include "platform/fltk/fltk_widgets.h"
#include "screens/code_page.h"

namespace moltrevane {
namespace {

// The drawn time and locator keep to their cells of 9 × 23 design pixels a character, so
// they never cover a control: the font shrinks until the text fits.
constexpr int kCellWidth = 9, kCellHeight = 23;

}  // namespace

WidgetPainter::WidgetPainter(const ScreenScale& scale)
    : scale_(scale), ink_(CurrentPalette().live), lines_(CurrentPalette().lines) {}

void WidgetPainter::UseInk(Ink ink) {
    const Palette& palette = CurrentPalette();
    switch (ink) {
        case Ink::Live: ink_ = palette.live, lines_ = palette.lines; break;
        case Ink::Stale: ink_ = lines_ = palette.stale; break;
        case Ink::Offline: ink_ = palette.offline, lines_ = palette.lines; break;
        case Ink::Faint: ink_ = lines_ = palette.faint; break;
    }
}

void WidgetPainter::DrawText(int x, int y, std::string_view text, double size) {
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

void WidgetPainter::FillWhite(int x, int y, int width, int height) {
    fl_rectf(scale_.X(x), scale_.Y(y), scale_.Length(width), scale_.Length(height), FL_BACKGROUND2_COLOR);
}

void WidgetPainter::Rectangle(int left, int top, int right, int bottom) {
    const int x = scale_.X(left), y = scale_.Y(top), w = scale_.X(right) - x, h = scale_.Y(bottom) - y;
    fl_rectf(x, y, w, h, FL_BACKGROUND2_COLOR);
    fl_color(lines_);
    fl_line_style(FL_SOLID, std::max(1, scale_.Length(1)));
    fl_rect(x, y, w, h);
    fl_line_style(0);
}

void WidgetPainter::Line(int x1, int y1, int x2, int y2) {
    fl_color(lines_);
    fl_line_style(FL_SOLID, std::max(1, scale_.Length(1)));
    fl_line(scale_.X(x1), scale_.Y(y1), scale_.X(x2), scale_.Y(y2));
    fl_line_style(0);
}

void WidgetPainter::Ring(int centreX, int centreY, int radius) {
    const int x = scale_.X(centreX), y = scale_.Y(centreY), r = scale_.Length(radius);
    fl_color(lines_);
    fl_line_style(FL_SOLID, std::max(1, scale_.Length(1)));
    fl_arc(x - r, y - r, 2 * r, 2 * r, 0, 360);
    fl_line_style(0);
}

void WidgetPainter::Dot(int centreX, int centreY, int radius) {
    const int x = scale_.X(centreX), y = scale_.Y(centreY), r = std::max(1, scale_.Length(radius));
    fl_color(ink_);
    fl_pie(x - r, y - r, 2 * r + 1, 2 * r + 1, 0, 360);
}

}  // namespace moltrevane
