// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/layout.h"

#include <array>

#include "core/filter_flags.h"
#include "gps/gps_source.h"
#include "screens/control_ids.h"
#include "screens/screen_scale.h"

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

// The wide layouts' three buttons along the bottom; whatever a finger touches there is 16 units
// in both directions, 9 mm on a 7-inch panel.
constexpr Place kWideLeftButton{1, 137, 84, 16}, kWideMiddleButton{86, 137, 84, 16}, kWideRightButton{171, 137, 84, 16};

// Every screen but the main one is left by "Back" at its bottom right: a car's panel may have
// neither a keyboard for Escape nor a window manager's close box.
constexpr ControlSpec kBack{K::Button, ids::kBackButton, "Back", 94, 140, 44, 13};
constexpr Place kWideBack{193, 137, 62, 16};

// A layout's controls and "Back" after them.
template <std::size_t N>
constexpr std::array<ControlSpec, N + 1> WithBack(const std::array<ControlSpec, N>& controls) {
    std::array<ControlSpec, N + 1> all{};
    for (std::size_t i = 0; i < N; ++i) all[i] = controls[i];
    all[N] = kBack;
    return all;
}

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
    ControlSpec{K::Entry, ids::kTarget, "", 10, 65, 43, 12, kUpperCase | kLocatorKeys},
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
    Place{3, 71, 80, 9}, Place{1, 100, 126, 34}, Place{8, 111, 43, 16}, Place{56, 114, 38, 9}, Place{98, 114, 26, 9},
    kWideLeftButton, kWideMiddleButton, kWideRightButton, Place{129, 17, 126, 119},
});

constexpr MainDrawingPlaces kDesignDrawing{40, 27, 130, 77, 1.0, 10, 140, {10, 140, 220, 106}};
// The design's drawing where the stretched controls leave it room, the picture as tall as the map's place.
constexpr MainDrawingPlaces kPortraitDrawing{40, 40, 125, 114, 1.3, 10, 210, {10, 210, 220, 159}};
constexpr MainDrawingPlaces kWideDrawing{42, 31, 5, 142, 1.5, 226, 90, {226, 30, 220, 206}};

constexpr std::array<int, 7> kRowTop = {1, 21, 41, 61, 81, 101, 121};
constexpr std::array<int, 7> kRowInfoTop = {10, 30, 50, 70, 90, 110, 129};

constexpr std::array<ControlSpec, 7 * 8 + 4> RepeaterControls() {
    std::array<ControlSpec, 7 * 8 + 4> controls{};
    std::size_t n = 0;
    for (std::size_t r = 0; r < 7; ++r) {
        const ids::RepeaterRowIds& row = ids::kRepeaterRows[r];
        const int top = kRowTop[r];
        const int buttonTop = top + 1;
        const int infoButtonTop = r == 6 ? 124 : buttonTop;
        controls[n++] = {K::Button, row.newCall, "N", 1, buttonTop, 12, 12};
        controls[n++] = {K::Entry, row.call, "", 18, top, 40, 12, kReadOnly | kUpperCase | kCallKeys | kRowText};
        controls[n++] = {K::Label, row.km, "", 62, top, 35, 9, kRowText};
        controls[n++] = {K::Label, row.grad, "", 100, top, 20, 9, kRowText};
        controls[n++] = {K::Button, row.stationInfo, "I", 124, infoButtonTop, 12, 12};
        // The design's row has no room for the channel of its own: it leads the info line there.
        controls[n++] = {K::Label, row.channel, "", 18, kRowInfoTop[r], 0, 9, kRowText};
        controls[n++] = {K::Label, row.info, "", 18, kRowInfoTop[r], 104, 9, kPlaceText};
        // Nor for a Tune button: there the Info Station screen tunes the radio.
        controls[n++] = {K::Button, row.tune, ids::kTuneText, 0, 0, 0, 0};
    }
    controls[n++] = {K::Button, ids::kSearchStation, "Search Stn.", 1, 141, 34, 12};
    controls[n++] = {K::Button, ids::kFollowButton, "Follow off", 35, 141, 34, 12};
    controls[n++] = {K::Button, ids::kEditStation, "Edit Stn.", 69, 141, 24, 12};
    controls[n++] = {K::Button, ids::kBackButton, "Back", 94, 141, 44, 12};
    return controls;
}
constexpr auto kRepeater = RepeaterControls();

// Each row's call, km, bearing and channel on its first line, the frequency as prominent as the
// call; its locator and whole place below; "N" and "I" touch-sized at its ends; the call is
// typed after "N", never tapped.
constexpr std::array<Place, kRepeater.size()> WideRepeaterPlaces() {
    std::array<Place, kRepeater.size()> places{};
    std::size_t n = 0;
    for (int r = 0; r < 7; ++r) {
        const int top = 1 + 19 * r;
        places[n++] = {1, top + 1, 16, 16};
        places[n++] = {18, top, 40, 10};
        places[n++] = {58, top, 27, 10};
        places[n++] = {85, top, 20, 10};
        places[n++] = {239, top + 1, 16, 16};
        places[n++] = {105, top, 116, 10};
        places[n++] = {18, top + 10, 203, 9};
        places[n++] = {222, top + 1, 16, 16};
    }
    places[n++] = {1, 137, 63, 16};
    places[n++] = {65, 137, 63, 16};
    places[n++] = {129, 137, 63, 16};
    places[n++] = kWideBack;
    return places;
}
constexpr auto kRepeaterWide = Placed(kRepeater, WideRepeaterPlaces());

// A choice's items, '|' between them: "COM 1|…|COM 8" and the speed table's rates.
struct ChoiceItems {
    std::array<char, 160> text{};
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

// "COM 3 (ttyACM0)": each port with the device it means unless a link says otherwise.
constexpr ChoiceItems PortItems() {
    ChoiceItems items;
    for (unsigned port = 1; port <= kPortCount; ++port) {
        items.Append(port == 1 ? "COM " : "|COM ");
        items.AppendNumber(port);
        const std::string_view device = kPortDevices[port - 1];
        items.Append(" (");
        items.Append(device.substr(device.rfind('/') + 1));
        items.Append(")");
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
    ControlSpec{K::Entry, ids::kOfflineLocator, "", 67, 34, 35, 12, kUpperCase | kSixCharacters | kLocatorKeys},
    ControlSpec{K::Entry, ids::kNmeaView, "", 2, 49, 134, 14, kReadOnly | kMultiLine},
    ControlSpec{K::Label, 0, "Show only:", 7, 66, 48, 9},
};

// The controls above, then a check box per filter flag and per voice mode.
constexpr std::size_t kSettingsCount = kSettingsControls.size() + kFilterFlags.size() + kModeFlags.size() + 1;
constexpr std::array<ControlSpec, kSettingsCount> SettingsControls() {
    std::array<ControlSpec, kSettingsCount> controls{};
    std::size_t n = 0;
    for (const ControlSpec& c : kSettingsControls) controls[n++] = c;
    for (const FilterFlag& f : kFilterFlags) controls[n++] = {K::CheckBox, f.controlId, f.label, f.x, f.y, f.width, f.height};
    for (const ModeFlag& m : kModeFlags)
        controls[n++] = {K::CheckBox, m.controlId, kVoiceModeNames[static_cast<std::size_t>(m.mode)], m.x, m.y, m.width, m.height};
    controls[n++] = kBack;
    return controls;
}
constexpr auto kSettings = SettingsControls();

// Port and locator above the NMEA view on the left, the voice modes under it; the flags on the
// right, bands in one column and types in the other, a touch-sized row each.
constexpr std::array<Place, kSettings.size()> WideSettingsPlaces() {
    std::array<Place, kSettings.size()> places = {{
        {3, 5, 26, 9}, {30, 1, 46, 16}, {3, 23, 26, 9}, {30, 19, 46, 16}, {80, 1, 46, 16}, {80, 19, 46, 16},
        {3, 41, 56, 9}, {60, 37, 40, 16}, {1, 55, 125, 56}, {130, 3, 60, 9},
    }};
    constexpr std::array<Place, kModeFlags.size()> modes = {{
        {1, 114, 40, 16}, {43, 114, 40, 16}, {85, 114, 41, 16}, {1, 134, 40, 16}, {43, 134, 83, 16},
    }};
    for (std::size_t i = 0; i < modes.size(); ++i) places[kSettingsControls.size() + kFilterFlags.size() + i] = modes[i];
    int bands = 0, types = 0;
    for (std::size_t i = 0; i < kFilterFlags.size(); ++i) {
        const bool band = kFilterFlags[i].band.has_value();
        const int row = band ? bands++ : types++;
        places[kSettingsControls.size() + i] = band ? Place{130, 14 + 20 * row, 42, 16} : Place{174, 14 + 20 * row, 81, 16};
    }
    places.back() = kWideBack;
    return places;
}
constexpr auto kSettingsWide = Placed(kSettings, WideSettingsPlaces());

constexpr auto kStationInfo = WithBack(std::array{
    ControlSpec{K::List, ids::kStationRecordList, "", 1, 1, 136, 138},
    ControlSpec{K::Button, ids::kInfoTune, "Tune", 1, 141, 30, 12},
    ControlSpec{K::Label, ids::kInfoRadioState, "", 34, 140, 58, 14},
});
constexpr auto kStationInfoWide = Placed(kStationInfo, std::array{
    Place{1, 1, 254, 124}, Place{1, 127, 50, 26}, Place{54, 127, 136, 26}, kWideBack,
});

constexpr auto kAbout = WithBack(std::array{
    ControlSpec{K::Icon, 0, "", 11, 11, 20, 20},
    ControlSpec{K::Label, 0, "Moltrevane Version " MOLTREVANE_VERSION, 43, 17, 88, 9},
    ControlSpec{K::Label, 0, "For radio amateurs on the move.\n73 de the Moltrevane developers", 3, 41,
                131, 21},
    ControlSpec{K::Label, 0,
                "Free software, GNU GPL 3 or later; NO WARRANTY. Distances and bearings are for "
                "orientation only; check the directory against current lists.",
                3, 65, 128, 39},
    ControlSpec{K::Label, 0, "Colours:", 3, 108, 40, 9},
    ControlSpec{K::Choice, ids::kPaletteChoice, "Auto|Day|Night", 45, 105, 50, 14},
    ControlSpec{K::Button, ids::kImportStations, ids::kImportStationsText, 3, 122, 64, 14},
    ControlSpec{K::Button, ids::kLinksButton, "Links\x85", 70, 122, 64, 14},
});
constexpr auto kAboutWide = Placed(kAbout, std::array{
    Place{11, 11, 20, 20}, Place{43, 17, 150, 9}, Place{3, 41, 250, 21}, Place{3, 65, 250, 28},
    Place{3, 115, 40, 9}, Place{45, 111, 60, 16}, Place{3, 137, 92, 16}, Place{97, 137, 92, 16}, kWideBack,
});

constexpr auto kLinks = WithBack(std::array{
    ControlSpec{K::Label, 0, "Hand the locator to:", 3, 3, 131, 9},
    ControlSpec{K::CheckBox, ids::kWsjtxOn, "WSJT-X", 3, 15, 52, 14},
    ControlSpec{K::Entry, ids::kWsjtxAddress, "", 58, 15, 78, 14, kAddressKeys},
    ControlSpec{K::Label, ids::kWsjtxState, "", 3, 31, 133, 19},
    ControlSpec{K::CheckBox, ids::kJs8callOn, "JS8Call", 3, 55, 52, 14},
    ControlSpec{K::Entry, ids::kJs8callAddress, "", 58, 55, 78, 14, kAddressKeys},
    ControlSpec{K::Label, ids::kJs8callState, "", 3, 71, 133, 19},
    ControlSpec{K::CheckBox, ids::kRigOn, "Radio", 3, 92, 52, 14},
    ControlSpec{K::Entry, ids::kRigAddress, "", 58, 92, 78, 14, kAddressKeys},
    ControlSpec{K::Label, ids::kRigState, "", 3, 108, 133, 19},
    ControlSpec{K::Label, 0,
                "WSJT-X: UDP Server, Accept UDP requests, AutoGrid. JS8Call: TCP API, accept requests and "
                "station information. Radio: rigctld.",
                3, 127, 89, 26},
});
constexpr auto kLinksWide = Placed(kLinks, std::array{
    Place{3, 3, 250, 9}, Place{3, 14, 60, 16}, Place{66, 14, 120, 16}, Place{3, 31, 250, 19},
    Place{3, 51, 60, 16}, Place{66, 51, 120, 16}, Place{3, 68, 250, 19},
    Place{3, 88, 60, 16}, Place{66, 88, 120, 16}, Place{3, 105, 250, 19}, Place{3, 125, 188, 28}, kWideBack,
});

constexpr auto kEditStation = WithBack(std::array{
    ControlSpec{K::Entry, ids::kEditCallEntry, "", 13, 7, 52, 12, kUpperCase | kCallKeys},
    ControlSpec{K::Button, ids::kSearchCall, "Search Call", 79, 6, 44, 12},
});
constexpr auto kEditStationWide = Placed(kEditStation, std::array{Place{13, 7, 80, 16}, Place{100, 7, 60, 16}, kWideBack});

constexpr auto kDriving = WithBack(std::array{
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
                3, 114, 133, 25},
});
// The list and the alerts on the left, what the alerts tell on the right.
constexpr auto kDrivingWide = Placed(kDriving, std::array{
    Place{3, 5, 90, 9}, Place{96, 1, 80, 16}, Place{3, 23, 90, 9}, Place{96, 19, 80, 16},
    Place{3, 37, 173, 17}, Place{3, 59, 90, 9}, Place{96, 55, 80, 16},
    Place{182, 1, 73, 16}, Place{182, 19, 73, 9}, Place{182, 29, 73, 16}, Place{182, 47, 73, 16},
    Place{3, 75, 250, 58}, kWideBack,
});

// A list's rows to tick, two lines each (the file's name, its folder), with a line above them
// that tells what was found; a page of rows up or down beside them.
constexpr std::array<ControlSpec, ids::kListRows.size() + 7> ListPickerControls() {
    std::array<ControlSpec, ids::kListRows.size() + 7> controls{};
    std::size_t n = 0;
    controls[n++] = {K::Label, ids::kListState, "", 3, 1, 134, 11};
    for (std::size_t r = 0; r < ids::kListRows.size(); ++r)
        controls[n++] = {K::CheckBox, ids::kListRows[r], "", 1, 13 + 24 * static_cast<int>(r), 114, 23};
    controls[n++] = {K::Button, ids::kListUp, "Up", 117, 13, 21, 59};
    controls[n++] = {K::Button, ids::kListDown, "Down", 117, 74, 21, 58};
    controls[n++] = {K::Button, ids::kListAdd, "Add", 1, 140, 22, 13};
    controls[n++] = {K::Button, ids::kListReplace, "Replace", 24, 140, 32, 13};
    controls[n++] = {K::Button, ids::kListOther, "Other file\x85", 57, 140, 36, 13};
    controls[n++] = kBack;
    return controls;
}
constexpr auto kListPicker = ListPickerControls();

// The state line, the first row and the step to the next, then the buttons' places.
constexpr std::array<Place, kListPicker.size()> ListPickerPlaces(Place state, Place row, int step, Place up, Place down,
                                                                 Place add, Place replace, Place other, Place back) {
    std::array<Place, kListPicker.size()> places{};
    std::size_t n = 0;
    places[n++] = state;
    for (int r = 0; r < static_cast<int>(ids::kListRows.size()); ++r) places[n++] = {row.x, row.y + step * r, row.width, row.height};
    for (const Place& p : {up, down, add, replace, other, back}) places[n++] = p;
    return places;
}
constexpr auto kListPickerWide = Placed(kListPicker, ListPickerPlaces({3, 1, 250, 11}, {1, 13, 219, 23}, 24, {222, 13, 33, 60},
                                                                      {222, 75, 33, 60}, {1, 137, 62, 16}, {65, 137, 62, 16},
                                                                      {129, 137, 62, 16}, kWideBack));
constexpr auto kListPickerPortrait = Placed(kListPicker, ListPickerPlaces({3, 1, 135, 20}, {1, 22, 113, 37}, 38, {116, 22, 22, 94},
                                                                          {116, 118, 22, 94}, {1, 213, 30, 17}, {32, 213, 34, 17},
                                                                          {67, 213, 36, 17}, {104, 213, 34, 17}));

// The portrait layouts: the design's arrangement stretched to the taller window, every place's
// edges rounded alike so that neighbours stay neighbours; the repeater rows get a line of their
// own for the whole place.
constexpr int Taller(int y) { return (y * kPortraitHeight + 77) / 154; }
template <std::size_t N>
constexpr std::array<ControlSpec, N> Stretched(std::array<ControlSpec, N> controls) {
    for (ControlSpec& c : controls) {
        const int top = Taller(c.y), bottom = Taller(c.y + c.height);
        c.y = top;
        c.height = bottom - top;
    }
    return controls;
}
constexpr auto kMainPortrait = Stretched(kMain);
constexpr auto kStationInfoPortrait = Stretched(kStationInfo);
constexpr auto kAboutPortrait = Stretched(kAbout);
constexpr auto kEditStationPortrait = Stretched(kEditStation);
constexpr auto kLinksPortrait = Stretched(kLinks);
constexpr auto kDrivingPortrait = Stretched(kDriving);

// Portrait has room below the NMEA view for every filter flag and voice mode at touch size, a row
// each: "Show only:" and the bands under it on the left, the types on the right, the voice modes
// across the width below them. Above the view, the design stretched as on the other screens.
constexpr std::array<Place, kSettings.size()> PortraitSettingsPlaces() {
    std::array<Place, kSettings.size()> places{};
    const auto stretched = Stretched(kSettings);
    for (std::size_t i = 0; i < places.size(); ++i) places[i] = {stretched[i].x, stretched[i].y, stretched[i].width, stretched[i].height};
    constexpr int kTop = 96, kRow = 14;
    places[kSettingsControls.size() - 1] = {3, kTop + 2, 46, 9};
    int bands = 0, types = 0;
    for (std::size_t i = 0; i < kFilterFlags.size(); ++i) {
        const bool band = kFilterFlags[i].band.has_value();
        places[kSettingsControls.size() + i] = band ? Place{1, kTop + kRow * ++bands, 48, kRow} : Place{50, kTop + kRow * types++, 88, kRow};
    }
    constexpr int kModesTop = kTop + 6 * kRow, kSecond = kModesTop + kRow;
    constexpr std::array<Place, kModeFlags.size()> modes = {{
        {1, kModesTop, 48, kRow}, {50, kModesTop, 38, kRow}, {89, kModesTop, 49, kRow}, {1, kSecond, 48, kRow}, {50, kSecond, 88, kRow},
    }};
    for (std::size_t i = 0; i < modes.size(); ++i) places[kSettingsControls.size() + kFilterFlags.size() + i] = modes[i];
    return places;
}
constexpr auto kSettingsPortrait = Placed(kSettings, PortraitSettingsPlaces());

// Each row: "N", call, km, bearing and "I" on its first line, the channel with its tone below,
// then the locator and the whole place across the width.
constexpr std::array<Place, kRepeater.size()> PortraitRepeaterPlaces() {
    std::array<Place, kRepeater.size()> places{};
    std::size_t n = 0;
    for (int r = 0; r < 7; ++r) {
        const int top = 1 + 30 * r;
        places[n++] = {1, top, 16, 14};
        places[n++] = {18, top + 1, 40, 12};
        places[n++] = {59, top + 2, 27, 11};
        places[n++] = {87, top + 2, 17, 11};
        places[n++] = {122, top, 16, 14};
        places[n++] = {3, top + 14, 135, 8};
        places[n++] = {1, top + 22, 137, 8};
        places[n++] = {105, top, 16, 14};
    }
    places[n++] = {1, 213, 34, 17};
    places[n++] = {35, 213, 34, 17};
    places[n++] = {69, 213, 24, 17};
    places[n++] = {94, 213, 44, 17};
    return places;
}
constexpr auto kRepeaterPortrait = Placed(kRepeater, PortraitRepeaterPlaces());

// Each screen's title and its controls in every shape, by ScreenKind.
struct ScreenLayouts {
    std::string_view title;
    std::span<const ControlSpec> design, wide, portrait;
};
constexpr ScreenLayouts kLayouts[] = {
    {"Moltrevane", kMain, kMainWide, kMainPortrait},
    {"Settings", kSettings, kSettingsWide, kSettingsPortrait},
    {"Repeater", kRepeater, kRepeaterWide, kRepeaterPortrait},
    {"Info Station", kStationInfo, kStationInfoWide, kStationInfoPortrait},
    {"Info", kAbout, kAboutWide, kAboutPortrait},
    {"Edit Station", kEditStation, kEditStationWide, kEditStationPortrait},
    {"Links", kLinks, kLinksWide, kLinksPortrait},
    {"Driving", kDriving, kDrivingWide, kDrivingPortrait},
    {"Station lists", kListPicker, kListPickerWide, kListPickerPortrait},
};

}  // namespace

LayoutUnits UnitsOf(LayoutShape shape) {
    switch (shape) {
        case LayoutShape::Design: break;
        case LayoutShape::Wide: return {256, 154};
        case LayoutShape::Portrait: return {139, kPortraitHeight};
    }
    return {139, 154};
}

LayoutShape ShapeFor(int width, int height) {
    const long long w = width, h = height;
    if (w * 3 > h * 4) return LayoutShape::Wide;
    return w * 4 < h * 3 ? LayoutShape::Portrait : LayoutShape::Design;
}

ScreenLayout LayoutOf(ScreenKind kind, LayoutShape shape) {
    const ScreenLayouts& layouts = kLayouts[static_cast<std::size_t>(kind)];
    switch (shape) {
        case LayoutShape::Design: break;
        case LayoutShape::Wide: return {layouts.title, layouts.wide};
        case LayoutShape::Portrait: return {layouts.title, layouts.portrait};
    }
    return {layouts.title, layouts.design};
}

const MainDrawingPlaces& MainDrawingOf(LayoutShape shape) {
    switch (shape) {
        case LayoutShape::Design: break;
        case LayoutShape::Wide: return kWideDrawing;
        case LayoutShape::Portrait: return kPortraitDrawing;
    }
    return kDesignDrawing;
}

bool Touched(const ControlSpec& c) {
    switch (c.kind) {
        case K::Button: return !(c.style & kNoBorder);
        case K::CheckBox:
        case K::Choice: return true;
        case K::Entry: return (c.style & (kLocatorKeys | kCallKeys | kAddressKeys)) && !(c.style & kReadOnly);
        default: return false;
    }
}

int TextPixels(const ControlSpec& c, const ScreenScale& scale) {
    constexpr int kTextSize = 11, kCarRowTextSize = 14, kPortraitPlaceSize = 10;  // design pixels
    if (c.style & kPlaceText && scale.shape != LayoutShape::Design)
        return scale.Length(scale.shape == LayoutShape::Wide ? kCarRowTextSize : kPortraitPlaceSize);
    return scale.Length(c.style & kRowText && IsCarScale(scale) ? kCarRowTextSize : kTextSize);
}

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
