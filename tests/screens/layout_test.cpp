// SPDX-License-Identifier: GPL-3.0-or-later
// Every screen in each shape at the sizes it is drawn: inside its window, nothing over anything
// else, and on a car's panel, either way round, every control touch-sized.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <vector>

#include "screens/control_ids.h"
#include "screens/keypad.h"
#include "screens/layout.h"
#include "screens/screen_scale.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

constexpr ScreenKind kEveryScreen[] = {ScreenKind::Main,        ScreenKind::Settings, ScreenKind::Repeater,
                                       ScreenKind::StationInfo, ScreenKind::About,    ScreenKind::EditStation,
                                       ScreenKind::Links,       ScreenKind::Driving,  ScreenKind::ListPicker};
constexpr LayoutShape kEveryShape[] = {LayoutShape::Design, LayoutShape::Wide, LayoutShape::Portrait};
constexpr const char* kShapeNames[] = {"design", "wide", "portrait"};  // by LayoutShape

using testing::Find;
using testing::Inside;
using testing::Overlap;


// The design's shape at three scales (243 × 270 the first): each control once, inside the window,
// no entry's border through a label's text, and no two controls overlapping that the design keeps apart.
TEST(ScreenLayouts, TheDesignsShapeScalesAsDesigned) {
    for (const ScreenKind kind : kEveryScreen) {
        const auto controls = LayoutOf(kind, LayoutShape::Design).controls;
        std::set<int> ids;
        std::vector<ControlSpec> shown;
        for (const ControlSpec& c : controls) {
            EXPECT_TRUE(c.id == 0 || ids.insert(c.id).second) << c.id;
            shown.push_back(ShownPlace(c, controls));
            EXPECT_GE(shown.back().height, c.height - 1) << c.id;  // still room for its line of text
        }
        for (const double scale : {kDesignPixelsPerUnit, 3.0, 4.5})
            for (std::size_t i = 0; i < shown.size(); ++i) {
                const PixelRect a = ScreenScale{scale}.Of(shown[i]);
                EXPECT_NEAR(a.width, shown[i].width * scale, 1.0) << shown[i].text;
                EXPECT_TRUE(Inside(a, WindowSize(scale, LayoutShape::Design))) << shown[i].text << " at " << scale;
                for (std::size_t j = 0; j < i; ++j) {
                    const bool labelOnEntry = (shown[i].kind == ControlKind::Label && shown[j].kind == ControlKind::Entry) ||
                                              (shown[j].kind == ControlKind::Label && shown[i].kind == ControlKind::Entry);
                    const bool keptApart = labelOnEntry || !Overlap(ScreenScale{}.Of(controls[i]), ScreenScale{}.Of(controls[j]));
                    EXPECT_FALSE(keptApart && Overlap(a, ScreenScale{scale}.Of(shown[j]))) << shown[i].id << " and " << shown[j].id;
                }
            }
    }
}

// On 800 × 480 and 1024 × 600 the wide layouts, on 480 × 800 the portrait ones: the panel's
// width and height used, every control inside it, none over another but a frame round its own,
// every control one touches 47 pixels at least (9 mm on a 7-inch panel); in the wide ones a
// row's text large at arm's length, and each label of one line in the design one line here too;
// each portrait repeater row shows, on a line of its own, 30 characters of place at least.
TEST(ScreenLayouts, CarLayoutsUseTheWholePanel) {
    for (const auto& [width, height, shape] : {std::tuple{800, 480, LayoutShape::Wide}, {1024, 600, LayoutShape::Wide}, {480, 800, LayoutShape::Portrait}}) {
        const ScreenScale scale = FittingScale(width, height);
        ASSERT_EQ(scale.shape, shape);
        const PixelRect window = WindowSize(scale.pixelsPerUnit, shape);
        EXPECT_TRUE(window.width >= width * 95 / 100 && window.height >= height * (shape == LayoutShape::Wide ? 95 : 90) / 100) << width;
        for (const ScreenKind kind : kEveryScreen) {
            const auto design = LayoutOf(kind, LayoutShape::Design).controls;
            const auto controls = LayoutOf(kind, shape).controls;
            ASSERT_EQ(controls.size(), design.size());
            const auto placed = [&](std::size_t i) { return ScreenScale{scale.pixelsPerUnit}.Of(ShownPlace(controls[i], controls)); };
            int lowest = 0;
            for (std::size_t i = 0; i < controls.size(); ++i) {
                const ControlSpec& c = controls[i];
                const PixelRect a = placed(i);
                lowest = std::max(lowest, a.y + a.height);
                EXPECT_TRUE(Inside(a, window)) << c.id << " " << c.text;
                EXPECT_TRUE(!Touched(c) || (a.width >= 47 && a.height >= 47)) << c.id << " " << c.text << " at " << width;
                if (shape == LayoutShape::Wide) {
                    EXPECT_TRUE(c.kind != ControlKind::Label || (c.height <= 10) == (design[i].height <= 10)) << c.text;
                    // A row's text 18 pixels from baseline to capital (0.72 of the font's height) at arm's length.
                    EXPECT_TRUE(!(c.style & kRowText) || (TextPixels(c, scale) * 72 / 100 >= 18 && a.height >= TextPixels(c, scale))) << c.id;
                }
                const auto isPlace = [&](const ids::RepeaterRowIds& row) { return row.info == c.id; };
                if (shape == LayoutShape::Portrait && kind == ScreenKind::Repeater && std::ranges::any_of(ids::kRepeaterRows, isPlace)) {
                    // "JN58MA - " and 30 characters of a place, at most 0.6 of the text's height each.
                    EXPECT_TRUE(a.width - 6 >= (9 + 30) * TextPixels(c, scale) * 6 / 10 && a.height >= TextPixels(c, scale)) << c.id;
                }
                for (std::size_t j = 0; j < i; ++j)
                    EXPECT_FALSE(controls[j].kind != ControlKind::Frame && Overlap(a, placed(j))) << c.id << " " << c.text << " and " << controls[j].id;
            }
            EXPECT_GE(lowest, height * 90 / 100) << LayoutOf(kind, shape).title << " at " << width;
        }
    }
}

// Every screen but the main one is left by "Back" at its bottom right, in every shape: a panel
// without keyboard or window manager has no other way out.
TEST(ScreenLayouts, EverySubScreenHasBackAtItsBottomRight) {
    for (const ScreenKind kind : kEveryScreen)
        for (const LayoutShape shape : kEveryShape) {
            const ScreenLayout layout = LayoutOf(kind, shape);
            const ControlSpec* back = Find(layout.controls, ids::kBackButton);
            if (kind == ScreenKind::Main) {
                EXPECT_FALSE(back);
                continue;
            }
            ASSERT_TRUE(back) << layout.title;
            EXPECT_TRUE(back->text == "Back" && back->kind == ControlKind::Button) << layout.title;
            EXPECT_TRUE(back->x + back->width >= UnitsOf(shape).width - 2 && back->y + back->height >= UnitsOf(shape).height - 2) << layout.title;
        }
}

// The wide main screen's drawing, at its longest (an 8-character time, a 10-character locator),
// beside the controls and inside the window: only the unseen button that takes a tap on the map
// or the picture lies over them, in every shape.
TEST(ScreenLayouts, TheWideDrawingKeepsClearOfTheControls) {
    const MainDrawingPlaces& at = MainDrawingOf(LayoutShape::Wide);
    const ScreenScale unit{kDesignPixelsPerUnit};
    const auto cells = [&](int x, int y, int characters) {
        return PixelRect{x, y, static_cast<int>(9 * at.textSize * characters), static_cast<int>(23 * at.textSize)};
    };
    const auto pictures = [](const MainDrawingPlaces& places) {
        return std::vector<PixelRect>{{places.mapX, places.mapY, 220, 106}, {places.picture.x, places.picture.y, places.picture.width, places.picture.height}};
    };
    std::vector<PixelRect> drawn = pictures(at);
    drawn.insert(drawn.end(), {cells(at.timeX, at.timeY, 8), cells(at.locatorX, at.locatorY, 10)});
    for (const PixelRect& d : drawn) {
        EXPECT_TRUE(Inside(d, WindowSize(kDesignPixelsPerUnit, LayoutShape::Wide))) << d.x << "," << d.y;
        for (const ControlSpec& c : LayoutOf(ScreenKind::Main, LayoutShape::Wide).controls)
            EXPECT_FALSE(c.kind != ControlKind::Frame && c.id != ids::kPictureButton && Overlap(d, unit.Of(c))) << d.x << "," << d.y << " and " << c.id;
    }
    for (const LayoutShape shape : kEveryShape) {
        const ControlSpec* button = Find(LayoutOf(ScreenKind::Main, shape).controls, ids::kPictureButton);
        ASSERT_TRUE(button);
        for (const PixelRect& d : pictures(MainDrawingOf(shape)))
            EXPECT_TRUE(Inside(d, unit.Of(*button), 2)) << "the drawing at " << d.x << "," << d.y << " lies under the button that takes its taps";
    }
}

// tests/screens/golden/window-sizes.txt: the shape and scale a window of each size gets, its
// windows on the screen, and whether a tap on a field opens the keypad.
TEST(ScreenLayouts, TheShapeAndScaleFollowTheWindow) {
    testing::ExpectCases("window-sizes.txt", [](const std::vector<std::string>& c) {
        const int width = std::stoi(c.at(0)), height = std::stoi(c.at(1));
        const ScreenScale scale = FittingScale(width, height);
        const auto keypad = [&](std::optional<bool> ini) {
            AppState state;
            state.keypad = ini;
            return KeypadWanted(state, scale) ? "on" : "off";
        };
        return std::string(kShapeNames[static_cast<int>(scale.shape)]) + " " + testing::Fixed(scale.pixelsPerUnit, 3) + " at " +
               std::to_string(scale.originX) + "," + std::to_string(scale.originY) +
               (Inside(WindowSize(scale.pixelsPerUnit, scale.shape), {0, 0, width, height}) ? "" : ", the window beyond the screen") +
               ", keypad " + keypad(std::nullopt) + " " + keypad(true) + " " + keypad(false);
    });
    // The design's size keeps the design's text.
    for (const ControlSpec& c : LayoutOf(ScreenKind::Repeater, LayoutShape::Design).controls) EXPECT_EQ(TextPixels(c, FittingScale(243, 270)), 11);
    const PixelRect area{0, 24, 240, 296};  // below a panel
    EXPECT_EQ(OnScreen({-20, -30, 200, 220}, area), (PixelRect{0, 24, 200, 220}));
    EXPECT_EQ(OnScreen({100, 200, 200, 220}, area), (PixelRect{40, 100, 200, 220}));
    EXPECT_EQ(OnScreen({10, 30, 200, 220}, area), (PixelRect{10, 30, 200, 220}));
}

}  // namespace
}  // namespace moltrevane
