// Every screen in both shapes at the sizes it is drawn: inside its window, nothing over anything
// else, and on a car's landscape panel every control touch-sized.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <algorithm>

#include "screens/control_ids.h"
#include "screens/layout.h"
#include "screens/screen_scale.h"

namespace moltrevane {
namespace {

constexpr ScreenKind kEveryScreen[] = {ScreenKind::Main,        ScreenKind::Settings, ScreenKind::Repeater,
                                       ScreenKind::StationInfo, ScreenKind::About,    ScreenKind::EditStation,
                                       ScreenKind::Links,       ScreenKind::Driving};

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const PixelRect& a, const PixelRect& window) {
    return a.x >= 0 && a.y >= 0 && a.x + a.width <= window.width && a.y + a.height <= window.height;
}

// The design's shape at three scales (243 × 270 the first): each control once, inside the window,
// no entry's border through a label's text, and no two controls overlapping that the design keeps apart.
TEST(ScreenLayouts, TheDesignsShapeScalesAsDesigned) {
    for (const ScreenKind kind : kEveryScreen) {
        const auto controls = LayoutOf(kind, LayoutShape::Design).controls;
        std::set<int> ids;
        for (const ControlSpec& c : controls) EXPECT_TRUE(c.id == 0 || ids.insert(c.id).second) << c.id;
        std::vector<ControlSpec> shown;
        for (const ControlSpec& c : controls) {
            shown.push_back(ShownPlace(c, controls));
            EXPECT_GE(shown.back().height, c.height - 1) << c.id;  // still room for its line of text
        }
        for (const double scale : {kDesignPixelsPerUnit, 3.0, 4.5}) {
            const PixelRect window = WindowSize(scale, LayoutShape::Design);
            for (std::size_t i = 0; i < shown.size(); ++i) {
                const PixelRect a = ScreenScale{scale}.Of(shown[i]);
                EXPECT_NEAR(a.width, shown[i].width * scale, 1.0) << shown[i].text;
                EXPECT_TRUE(Inside(a, window)) << shown[i].text << " at " << scale;
                for (std::size_t j = 0; j < i; ++j) {
                    const bool labelOnEntry = (shown[i].kind == ControlKind::Label && shown[j].kind == ControlKind::Entry) ||
                                              (shown[j].kind == ControlKind::Label && shown[i].kind == ControlKind::Entry);
                    if (!labelOnEntry && Overlap(ScreenScale{}.Of(controls[i]), ScreenScale{}.Of(controls[j]))) continue;
                    EXPECT_FALSE(Overlap(a, ScreenScale{scale}.Of(shown[j]))) << shown[i].id << " and " << shown[j].id;
                }
            }
        }
    }
}

// On 800 × 480 and 1024 × 600 the wide layouts: the panel's width used, every control inside it,
// none over another but a frame round its own, every control one touches 36 pixels at least
// (9 mm on a 7-inch panel), and each label of one line in the design one line here too.
TEST(ScreenLayouts, WideLayoutsUseTheWholeLandscapePanel) {
    for (const auto& [width, height] : {std::pair{800, 480}, std::pair{1024, 600}}) {
        const ScreenScale scale = FittingScale(width, height);
        ASSERT_EQ(scale.shape, LayoutShape::Wide);
        const PixelRect window = WindowSize(scale.pixelsPerUnit, LayoutShape::Wide);
        EXPECT_GE(window.width, width * 95 / 100);
        EXPECT_GE(window.height, height * 95 / 100);
        for (const ScreenKind kind : kEveryScreen) {
            const auto design = LayoutOf(kind, LayoutShape::Design).controls;
            const auto controls = LayoutOf(kind, LayoutShape::Wide).controls;
            ASSERT_EQ(controls.size(), design.size());
            for (std::size_t i = 0; i < controls.size(); ++i) {
                const ControlSpec& c = controls[i];
                const PixelRect a = ScreenScale{scale.pixelsPerUnit}.Of(ShownPlace(c, controls));
                EXPECT_TRUE(Inside(a, window)) << c.id << " " << c.text;
                if (c.kind == ControlKind::Label) {
                    EXPECT_EQ(c.height <= 10, design[i].height <= 10) << c.text;
                }
                const bool touched = c.kind != ControlKind::Label && c.kind != ControlKind::Frame && c.kind != ControlKind::Icon;
                if (touched) {
                    EXPECT_TRUE(a.width >= 36 && a.height >= 36) << c.id << " " << c.text << " at " << width;
                }
                for (std::size_t j = 0; j < i; ++j) {
                    const bool framed = controls[j].kind == ControlKind::Frame;
                    const PixelRect b = ScreenScale{scale.pixelsPerUnit}.Of(ShownPlace(controls[j], controls));
                    if (!framed) {
                        EXPECT_FALSE(Overlap(a, b)) << c.id << " " << c.text << " and " << controls[j].id;
                    }
                }
            }
        }
    }
}

// The wide main screen's drawing, at its longest (an 8-character time, a 10-character locator),
// beside the controls and inside the window: only the unseen button that takes a tap on the map
// or the picture lies over them.
TEST(ScreenLayouts, TheWideDrawingKeepsClearOfTheControls) {
    const MainDrawingPlaces& at = MainDrawingOf(LayoutShape::Wide);
    const double unit = kDesignPixelsPerUnit;
    const auto cells = [&](int x, int y, int characters) {
        return PixelRect{x, y, static_cast<int>(9 * at.textSize * characters), static_cast<int>(23 * at.textSize)};
    };
    const PixelRect map{at.mapX, at.mapY, 220, 106};
    const PixelRect picture{at.picture.x, at.picture.y, at.picture.width, at.picture.height};
    const PixelRect drawn[] = {cells(at.timeX, at.timeY, 8), cells(at.locatorX, at.locatorY, 10), map, picture};
    const PixelRect canvas = WindowSize(unit, LayoutShape::Wide);
    for (const PixelRect& d : drawn) {
        EXPECT_TRUE(Inside(d, canvas)) << d.x << "," << d.y;
        for (const ControlSpec& c : LayoutOf(ScreenKind::Main, LayoutShape::Wide).controls)
            if (c.kind != ControlKind::Frame && c.id != ids::kPictureButton) {
                EXPECT_FALSE(Overlap(d, ScreenScale{unit}.Of(c))) << d.x << "," << d.y << " and " << c.id;
            }
    }
    for (const LayoutShape shape : {LayoutShape::Design, LayoutShape::Wide}) {
        const auto controls = LayoutOf(ScreenKind::Main, shape).controls;
        const auto button = std::find_if(controls.begin(), controls.end(), [](const auto& c) { return c.id == ids::kPictureButton; });
        ASSERT_NE(button, controls.end());
        const PixelRect tapped = ScreenScale{unit}.Of(*button);
        const MainDrawingPlaces& places = MainDrawingOf(shape);
        for (const PixelRect& d : {PixelRect{places.mapX, places.mapY, 220, 106},
                                   PixelRect{places.picture.x, places.picture.y, places.picture.width, places.picture.height}})
            EXPECT_TRUE(d.x >= tapped.x - 2 && d.y >= tapped.y - 2 && d.x + d.width <= tapped.x + tapped.width + 2 &&
                        d.y + d.height <= tapped.y + tapped.height + 2)
                << "the drawing at " << d.x << "," << d.y << " lies under the button that takes its taps";
    }
}

// The shape follows the window: portrait and up to 4:3 the design's, wider the wide one; a
// screen smaller than the design's size gets every window on it.
TEST(ScreenLayouts, TheShapeAndScaleFollowTheWindow) {
    EXPECT_EQ(FittingScale(243, 270), (ScreenScale{kDesignPixelsPerUnit, 0, 0, LayoutShape::Design}));
    const ScreenScale portrait = FittingScale(480, 800);
    EXPECT_EQ(portrait.shape, LayoutShape::Design);
    EXPECT_GE(WindowSize(portrait.pixelsPerUnit, LayoutShape::Design).width, 460);
    EXPECT_EQ(portrait.originY, (800 - WindowSize(portrait.pixelsPerUnit, LayoutShape::Design).height) / 2);  // centred
    EXPECT_EQ(FittingScale(640, 480).shape, LayoutShape::Design);
    EXPECT_EQ(FittingScale(641, 480).shape, LayoutShape::Wide);
    for (const auto& [width, height] : {std::pair{240, 320}, std::pair{320, 240}, std::pair{160, 180}, std::pair{400, 200}}) {
        const ScreenScale scale = FittingScale(width, height);
        const PixelRect window = WindowSize(scale.pixelsPerUnit, scale.shape);
        EXPECT_LE(window.width, width) << width << " x " << height;
        EXPECT_LE(window.height, height) << width << " x " << height;
    }
    const PixelRect area{0, 24, 240, 296};  // below a panel
    EXPECT_EQ(OnScreen({-20, -30, 200, 220}, area), (PixelRect{0, 24, 200, 220}));
    EXPECT_EQ(OnScreen({100, 200, 200, 220}, area), (PixelRect{40, 100, 200, 220}));
    EXPECT_EQ(OnScreen({10, 30, 200, 220}, area), (PixelRect{10, 30, 200, 220}));
}

}  // namespace
}  // namespace moltrevane
