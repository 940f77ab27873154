// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/station_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "geo/distance.h"
#include "screens/code_page.h"

namespace moltrevane {
namespace {

constexpr int kRim = 14;             // room outside the rings for the north mark and the calls
constexpr double kTextSize = 0.5;    // the picture's text, half the drawing's: 4.5 × 11.5 pixels a character
constexpr double kNorthSize = 0.7;   // the north mark, larger: it is looked for
constexpr int kCharacterWidth = 9;   // at the drawing's size
constexpr std::size_t kShortCall = 7;  // a call of more characters is cut beside its dot
constexpr int kDot = 3, kNearestDot = 4;

struct Point {
    int x, y;
};

// The point `radius` from the centre, `degrees` clockwise from straight up.
Point Towards(Point centre, double radius, double degrees) {
    const double angle = degrees * kDegToRad;
    return {centre.x + static_cast<int>(std::lround(radius * std::sin(angle))),
            centre.y - static_cast<int>(std::lround(radius * std::cos(angle)))};
}

int TextWidth(std::string_view text) { return static_cast<int>(kCharacterWidth * kTextSize * static_cast<double>(text.size())); }

// Moving, an arrowhead pointing the way the car goes, up; standing, a ring with a dot.
void PaintCar(Painter& painter, Point c, bool moving) {
    if (!moving) {
        painter.Ring(c.x, c.y, 5);
        painter.Dot(c.x, c.y, 1);
        return;
    }
    const std::array<Point, 5> outline = {{{c.x, c.y - 8}, {c.x + 6, c.y + 6}, {c.x, c.y + 2}, {c.x - 6, c.y + 6}, {c.x, c.y - 8}}};
    for (std::size_t i = 1; i < outline.size(); ++i) painter.Line(outline[i - 1].x, outline[i - 1].y, outline[i].x, outline[i].y);
}

// Each ring's distance along the lower right, the outermost with its unit: "10", "20 km"; on
// rings too close for their labels, the outermost's only.
void PaintRings(Painter& painter, Point centre, int radius, const Rings& rings) {
    constexpr int kLabelledApart = 16;
    const bool everyLabel = radius / rings.count >= kLabelledApart;
    for (int ring = 1; ring <= rings.count; ++ring) {
        const int ringRadius = radius * ring / rings.count;
        painter.Ring(centre.x, centre.y, ringRadius);
        if (!everyLabel && ring < rings.count) continue;
        const Point label = Towards(centre, ringRadius, 135);
        const std::string km = std::to_string(std::lround(rings.stepKm * ring)) + (ring == rings.count ? " km" : "");
        painter.DrawText(label.x + 2, label.y - 2, km, kTextSize);
    }
}

}  // namespace

Rings RingsFor(double farthestKm) {
    if (!(farthestKm > 0) || !std::isfinite(farthestKm)) return {1, 1};
    constexpr int kMostRings = 4;
    for (double power = 1;; power *= 10)
        for (const double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * power;
            if (farthestKm <= kMostRings * step) return {step, std::max(1, static_cast<int>(std::ceil(farthestKm / step)))};
        }
}

void PaintStationPicture(Painter& painter, const PictureArea& area, const std::optional<AroundTheCar>& around) {
    painter.FillWhite(area.x, area.y, area.width, area.height);
    if (!around) return;
    const Point centre{area.x + area.width / 2, area.y + area.height / 2};
    const int radius = std::min(area.width, area.height) / 2 - kRim;
    const double up = around->headingDeg.value_or(0);  // the direction drawn straight up
    double farthest = 0;
    for (const MeasuredStation& station : around->stations) farthest = std::max(farthest, station.km);
    const Rings rings = RingsFor(farthest);
    painter.UseInk(Ink::Faint);
    PaintRings(painter, centre, radius, rings);

    painter.UseInk(around->ink);
    const Point north = Towards(centre, radius + kRim / 2, -up);
    painter.DrawText(north.x - static_cast<int>(kCharacterWidth * kNorthSize / 2), north.y - 8, "N", kNorthSize);
    const double outerKm = rings.stepKm * rings.count;
    for (std::size_t i = around->stations.size(); i-- > 0;) {  // the nearest last, on top of the others
        const MeasuredStation& station = around->stations[i];
        const Point dot = Towards(centre, radius * station.km / outerKm, station.bearingDeg - up);
        painter.Dot(dot.x, dot.y, i == 0 ? kNearestDot : kDot);
        const std::string call = CodePageFromUtf8(station.station.call).substr(0, kShortCall);
        const int width = TextWidth(call);
        const bool onTheLeft = dot.x + kRim / 2 + width > area.x + area.width;  // kept inside the area
        painter.DrawText(onTheLeft ? dot.x - kRim / 2 - width : dot.x + kRim / 2, dot.y - 6, call, kTextSize);
    }
    PaintCar(painter, centre, around->headingDeg.has_value());  // on top of a station beside the road
}

}  // namespace moltrevane
