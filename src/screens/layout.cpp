#include "screens/layout.h"

#include <array>

#include "core/filter_flags.h"
#include "gps/gps_source.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

using K = ControlKind;

struct Place {
    int x, y, width, height;
};

// The controls of one shape at the places of another: texts, kinds and styles are defined once.
template <std::size_t N>
constexpr std::array<ControlSpec, N> Placed(std::array<ControlSpec, N> controls, const std::array<Place, N>& places) {
    for (std::size_t i = 0; i < N; ++i) {
        controls[i].x = places[i].x;
        controls[i].y = places[i].y;
        controls[i].width = places[i].width;
        controls[i].height = places[i].height;
    }
    return controls;
}

// The wide layouts' three buttons along the bottom.
constexpr Place kWideLeftButton{1, 141, 84, 12}, kWideMiddleButton{86, 141, 84, 12}, kWideRightButton{171, 141, 84, 12};

constexpr std::array kMain = {
    ControlSpec{K::Entry, ids::kSentence, "", 1, 1, 136, 16, kReadOnly | kNoBorder | kMultiLine},
    ControlSpec{K::Label, 0, "UTC:", 4, 18, 18, 10},
    ControlSpec{K::Entry, ids::kUtc, "", 80, 18, 55, 12, kNoBorder},
    ControlSpec{K::Entry, ids::kLatitude, "", 5, 30, 45, 12, kReadOnly},
    ControlSpec{K::Entry, ids::kNorthSouth, "", 53, 30, 10, 12, kReadOnly},
    ControlSpec{K::Entry, ids::kLongitude, "", 75, 30, 45, 12, kReadOnly},
    ControlSpec{K::Entry, ids::kEastWest, "", 123, 30, 10, 12, kReadOnly},
    ControlSpec{K::Label, ids::kLocatorLabel, "Locator:", 7, 47, 52, 9},
    ControlSpec{K::Frame, 0, "Calculate", 3, 56, 130, 24},
    ControlSpec{K::Entry, ids::kTarget, "", 10, 65, 43, 12, kUpperCase},
    ControlSpec{K::Label, ids::kDistance, "km", 63, 66, 35, 9},
    ControlSpec{K::Label, ids::kBearing, "Grad", 108, 66, 20, 9},
    ControlSpec{K::Button, ids::kSettingsButton, "Settings", 1, 141, 44, 12},
    ControlSpec{K::Button, ids::kRepeaterButton, "Repeater", 47, 141, 44, 12},
    ControlSpec{K::Button, ids::kInfoButton, "Info", 93, 141, 44, 12},
    ControlSpec{K::Button, ids::kPictureButton, "", 6, 80, 126, 60, kNoBorder},  // unseen, over the map
};

// The fields on the left, the picture of the stations beside them on the right (drawn, see
// kWideDrawing).
constexpr auto kMainWide = Placed(kMain, std::array{
    Place{1, 1, 254, 16}, Place{4, 20, 18, 10}, Place{24, 41, 100, 12},
    Place{3, 56, 44, 12}, Place{48, 56, 12, 12}, Place{64, 56, 44, 12}, Place{109, 56, 12, 12},
    Place{3, 71, 80, 9}, Place{1, 103, 126, 30}, Place{8, 115, 43, 14}, Place{56, 117, 38, 9}, Place{98, 117, 26, 9},
    kWideLeftButton, kWideMiddleButton, kWideRightButton, Place{129, 19, 126, 121},
});

constexpr MainDrawingPlaces kDesignDrawing{40, 27, 130, 77, 1.0, 10, 140, {10, 140, 220, 106}};
constexpr MainDrawingPlaces kWideDrawing{42, 31, 5, 142, 1.5, 226, 90, {226, 34, 220, 210}};

constexpr std::array<int, 7> kRowTop = {1, 21, 41, 61, 81, 101, 121};
constexpr std::array<int, 7> kRowInfoTop = {10, 30, 50, 70, 90, 110, 129};

constexpr std::array<ControlSpec, 7 * 6 + 3> RepeaterControls() {
    std::array<ControlSpec, 7 * 6 + 3> controls{};
    std::size_t n = 0;
    for (std::size_t r = 0; r < 7; ++r) {
        const ids::RepeaterRowIds& row = ids::kRepeaterRows[r];
        const int top = kRowTop[r];
        const int buttonTop = top + 1;
        const int infoButtonTop = r == 6 ? 124 : buttonTop;
        controls[n++] = {K::Button, row.newCall, "N", 1, buttonTop, 12, 12};
        controls[n++] = {K::Entry, row.call, "", 18, top, 40, 12, kReadOnly | kUpperCase};
        controls[n++] = {K::Label, row.km, "", 62, top, 35, 9};
        controls[n++] = {K::Label, row.grad, "", 100, top, 20, 9};
        controls[n++] = {K::Button, row.stationInfo, "I", 124, infoButtonTop, 12, 12};
        controls[n++] = {K::Label, row.info, "", 18, kRowInfoTop[r], 104, 9};
    }
    controls[n++] = {K::Button, ids::kSearchStation, "Search Stn.", 1, 141, 44, 12};
    controls[n++] = {K::Button, ids::kFollowButton, "Follow off", 47, 141, 44, 12};
    controls[n++] = {K::Button, ids::kEditStation, "Edit Stn.", 93, 141, 44, 12};
    return controls;
}
constexpr auto kRepeater = RepeaterControls();

// Each row's call, km and bearing on its first line, its whole info line below.
constexpr std::array<Place, kRepeater.size()> WideRepeaterPlaces() {
    std::array<Place, kRepeater.size()> places{};
    std::size_t n = 0;
    for (int r = 0; r < 7; ++r) {
        const int top = 1 + 20 * r;
        places[n++] = {1, top + 1, 12, 12};
        places[n++] = {16, top, 50, 12};
        places[n++] = {70, top + 1, 44, 9};
        places[n++] = {118, top + 1, 30, 9};
        places[n++] = {243, top + 1, 12, 12};
        places[n++] = {16, top + 12, 225, 8};
    }
    places[n++] = kWideLeftButton;
    places[n++] = kWideMiddleButton;
    places[n++] = kWideRightButton;
    return places;
}
constexpr auto kRepeaterWide = Placed(kRepeater, WideRepeaterPlaces());

// A choice's items, '|' between them: "COM 1|…|COM 8" and the speed table's rates.
struct ChoiceItems {
    std::array<char, 64> text{};
    std::size_t length = 0;
    constexpr void Append(std::string_view part) {
        for (const char c : part) text[length++] = c;
    }
    constexpr void AppendNumber(unsigned number) {
        char digits[10]{};
        std::size_t count = 0;
        for (; number > 0 || count == 0; number /= 10) digits[count++] = static_cast<char>('0' + number % 10);
        while (count > 0) text[length++] = digits[--count];
    }
    constexpr std::string_view View() const { return {text.data(), length}; }
};

constexpr ChoiceItems PortItems() {
    ChoiceItems items;
    for (unsigned port = 1; port <= kPortCount; ++port) {
        items.Append(port == 1 ? "COM " : "|COM ");
        items.AppendNumber(port);
    }
    return items;
}

constexpr ChoiceItems SpeedItems() {
    ChoiceItems items;
    for (const unsigned rate : kSpeedTable) {
        if (items.length > 0) items.Append("|");
        items.AppendNumber(rate);
    }
    return items;
}

constexpr ChoiceItems kPortItems = PortItems();
constexpr ChoiceItems kSpeedItems = SpeedItems();

constexpr std::array kSettingsControls = {
    ControlSpec{K::Label, 0, "Port:", 7, 5, 17, 8},
    ControlSpec{K::Choice, ids::kPortChoice, kPortItems.View(), 29, 3, 33, 12},
    ControlSpec{K::Label, 0, "Speed:", 70, 5, 24, 8},
    ControlSpec{K::Choice, ids::kSpeedChoice, kSpeedItems.View(), 98, 3, 33, 12},
    ControlSpec{K::Button, ids::kOpenPort, "Open Port", 2, 19, 44, 12},
    ControlSpec{K::Button, ids::kClosePort, "Close Port", 92, 19, 44, 12},
    ControlSpec{K::Label, 0, "Offline Locator", 8, 36, 50, 9},
    ControlSpec{K::Entry, ids::kOfflineLocator, "", 67, 34, 35, 12, kUpperCase | kSixCharacters},
    ControlSpec{K::Entry, ids::kNmeaView, "", 2, 49, 134, 27, kReadOnly | kMultiLine},
    ControlSpec{K::Label, 0, "Show only:", 7, 82, 48, 9},
};

// The controls above, then a check box per filter flag.
constexpr std::array<ControlSpec, kSettingsControls.size() + kFilterFlags.size()> SettingsControls() {
    std::array<ControlSpec, kSettingsControls.size() + kFilterFlags.size()> controls{};
    std::size_t n = 0;
    for (const ControlSpec& c : kSettingsControls) controls[n++] = c;
    for (const FilterFlag& f : kFilterFlags) controls[n++] = {K::CheckBox, f.controlId, f.label, f.x, f.y, f.width, f.height};
    return controls;
}
constexpr auto kSettings = SettingsControls();

// Port and locator above the NMEA view on the left; the flags on the right, bands in one column
// and types in the other, a touch-sized row each.
constexpr std::array<Place, kSettings.size()> WideSettingsPlaces() {
    std::array<Place, kSettings.size()> places = {{
        {3, 4, 26, 9}, {30, 1, 46, 14}, {3, 20, 26, 9}, {30, 17, 46, 14}, {80, 1, 46, 14}, {80, 17, 46, 14},
        {3, 36, 56, 9}, {60, 33, 40, 14}, {1, 50, 125, 103}, {130, 3, 60, 9},
    }};
    int bands = 0, types = 0;
    for (std::size_t i = 0; i < kFilterFlags.size(); ++i) {
        const bool band = kFilterFlags[i].band.has_value();
        const int row = band ? bands++ : types++;
        places[kSettingsControls.size() + i] = band ? Place{130, 14 + 20 * row, 42, 16} : Place{174, 14 + 20 * row, 81, 16};
    }
    return places;
}
constexpr auto kSettingsWide = Placed(kSettings, WideSettingsPlaces());

constexpr std::array kStationInfo = {
    ControlSpec{K::List, ids::kStationRecordList, "", 1, 1, 136, 152},
};
constexpr auto kStationInfoWide = Placed(kStationInfo, std::array{Place{1, 1, 254, 152}});

constexpr std::array kAbout = {
    ControlSpec{K::Icon, 0, "", 11, 11, 20, 20},
    ControlSpec{K::Label, 0, "Moltrevane Version " MOLTREVANE_VERSION, 43, 17, 88, 9},
    ControlSpec{K::Label, 0, "For radio amateurs on the move.\n73 de the Moltrevane developers", 3, 41,
                131, 21},
    ControlSpec{K::Label, 0,
                "Free to use at your own risk. Distances and bearings are for orientation only; "
                "check the station directory against current lists.",
                3, 65, 128, 39},
    ControlSpec{K::Label, 0, "Colours:", 3, 118, 40, 9},
    ControlSpec{K::Choice, ids::kPaletteChoice, "Auto|Day|Night", 45, 115, 50, 14},
    ControlSpec{K::Button, ids::kImportStations, ids::kImportStationsText, 3, 134, 64, 14},
    ControlSpec{K::Button, ids::kLinksButton, "Links\x85", 70, 134, 64, 14},
};
constexpr auto kAboutWide = Placed(kAbout, std::array{
    Place{11, 11, 20, 20}, Place{43, 17, 150, 9}, Place{3, 41, 250, 21}, Place{3, 65, 250, 28},
    Place{3, 108, 40, 9}, Place{45, 105, 60, 14}, Place{3, 134, 124, 16}, Place{130, 134, 124, 16},
});

constexpr std::array kLinks = {
    ControlSpec{K::Label, 0, "Hand the locator to:", 3, 3, 131, 9},
    ControlSpec{K::CheckBox, ids::kWsjtxOn, "WSJT-X", 3, 15, 52, 14},
    ControlSpec{K::Entry, ids::kWsjtxAddress, "", 58, 15, 78, 14},
    ControlSpec{K::Label, ids::kWsjtxState, "", 3, 31, 133, 19},
    ControlSpec{K::CheckBox, ids::kJs8callOn, "JS8Call", 3, 55, 52, 14},
    ControlSpec{K::Entry, ids::kJs8callAddress, "", 58, 55, 78, 14},
    ControlSpec{K::Label, ids::kJs8callState, "", 3, 71, 133, 19},
    ControlSpec{K::Label, 0,
                "WSJT-X: the address of its UDP Server; tick Accept UDP requests and AutoGrid. "
                "JS8Call: enable the TCP server API, accept TCP requests, allow setting station information.",
                3, 96, 133, 54},
};
constexpr auto kLinksWide = Placed(kLinks, std::array{
    Place{3, 3, 250, 9}, Place{3, 15, 60, 14}, Place{66, 15, 100, 14}, Place{3, 31, 250, 19},
    Place{3, 55, 60, 14}, Place{66, 55, 100, 14}, Place{3, 71, 250, 19}, Place{3, 96, 250, 54},
});

constexpr std::array kEditStation = {
    ControlSpec{K::Entry, ids::kEditCallEntry, "", 13, 7, 52, 12},
    ControlSpec{K::Button, ids::kSearchCall, "Search Call", 79, 6, 44, 12},
};
constexpr auto kEditStationWide = Placed(kEditStation, std::array{Place{13, 7, 80, 14}, Place{100, 7, 60, 14}});

constexpr std::array kDriving = {
    ControlSpec{K::Label, 0, "Follow the car:", 3, 5, 70, 9},
    ControlSpec{K::Choice, ids::kFollowChoice, "off|1 km|5 km|10 km|20 km", 76, 2, 60, 14},
    ControlSpec{K::Label, 0, "Alerts:", 3, 21, 70, 9},
    ControlSpec{K::Choice, ids::kAlertChoice, "off|tone|speech", 76, 18, 60, 14},
    ControlSpec{K::Label, ids::kSpeechState, "", 3, 34, 133, 19},
    ControlSpec{K::Label, 0, "Locator:", 3, 57, 70, 9},
    ControlSpec{K::Choice, ids::kLocatorChoice, "6|8|10", 76, 54, 60, 14},
    ControlSpec{K::CheckBox, ids::kTellNearest, "Tell a new nearest station", 3, 70, 133, 12},
    ControlSpec{K::Label, 0, "Tell a new square:", 3, 87, 70, 9},
    ControlSpec{K::Choice, ids::kTellSquare, "off|4 characters|6 characters", 76, 84, 60, 14},
    ControlSpec{K::CheckBox, ids::kTellFix, "Tell a fix lost and back", 3, 100, 133, 12},
    ControlSpec{K::Label, 0,
                "Following, the list searches by itself after so many km driven; typing a call "
                "with N turns it off.",
                3, 115, 133, 35},
};
// The list and the alerts on the left, what the alerts tell on the right.
constexpr auto kDrivingWide = Placed(kDriving, std::array{
    Place{3, 5, 90, 9}, Place{96, 2, 80, 14}, Place{3, 21, 90, 9}, Place{96, 18, 80, 14},
    Place{3, 34, 173, 19}, Place{3, 57, 90, 9}, Place{96, 54, 80, 14},
    Place{182, 2, 73, 14}, Place{182, 20, 73, 9}, Place{182, 30, 73, 14}, Place{182, 48, 73, 14},
    Place{3, 76, 250, 70},
});

// Each screen's title and its controls in either shape, by ScreenKind.
struct ScreenLayouts {
    std::string_view title;
    std::span<const ControlSpec> design, wide;
};
constexpr ScreenLayouts kLayouts[] = {
    {"Moltrevane", kMain, kMainWide},       {"Settings", kSettings, kSettingsWide},
    {"Repeater", kRepeater, kRepeaterWide}, {"Info Station", kStationInfo, kStationInfoWide},
    {"Info", kAbout, kAboutWide},           {"Edit Station", kEditStation, kEditStationWide},
    {"Links", kLinks, kLinksWide},          {"Driving", kDriving, kDrivingWide},
};

}  // namespace

LayoutUnits UnitsOf(LayoutShape shape) { return shape == LayoutShape::Wide ? LayoutUnits{256, 154} : LayoutUnits{139, 154}; }

LayoutShape ShapeFor(int width, int height) {
    return static_cast<long long>(width) * 3 > static_cast<long long>(height) * 4 ? LayoutShape::Wide : LayoutShape::Design;
}

ScreenLayout LayoutOf(ScreenKind kind, LayoutShape shape) {
    const ScreenLayouts& layouts = kLayouts[static_cast<std::size_t>(kind)];
    return {layouts.title, shape == LayoutShape::Wide ? layouts.wide : layouts.design};
}

const MainDrawingPlaces& MainDrawingOf(LayoutShape shape) { return shape == LayoutShape::Wide ? kWideDrawing : kDesignDrawing; }

ControlSpec ShownPlace(const ControlSpec& control, std::span<const ControlSpec> controls) {
    if (control.kind != K::Label) return control;
    const auto sideBySide = [&](const ControlSpec& other) {
        return other.x < control.x + control.width && control.x < other.x + other.width;
    };
    int top = control.y;
    for (const ControlSpec& other : controls)
        if (other.kind == K::Entry && sideBySide(other) && other.y < control.y && control.y < other.y + other.height)
            top = other.y + other.height;
    if (top == control.y) return control;
    int bottom = top + control.height;
    for (const ControlSpec& other : controls)
        if (sideBySide(other) && other.y >= top && other.y < bottom) bottom = other.y;
    ControlSpec shown = control;
    shown.y = top;
    shown.height = bottom - top;
    return shown;
}

}  // namespace moltrevane
