// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/main_screen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "core/follow.h"
#include "links/locator_links.h"
#include "links/radio_link.h"
#include "screens/messages.h"
#include "core/own_position.h"
#include "core/palette.h"
#include "settings/program_ini.h"
#include "settings/settings.h"
#include "directory/index_loader.h"
#include "geo/distance.h"
#include "gps/gps_source.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"
#include "screens/layout.h"
#include "screens/nearest_rows.h"

namespace moltrevane {
namespace {

using Fields = MainScreen::Fields;

constexpr std::array<std::pair<int, std::string Fields::*>, 10> kBindings = {{
    {ids::kSentence, &Fields::sentence},
    {ids::kUtc, &Fields::utc},
    {ids::kLatitude, &Fields::latitude},
    {ids::kNorthSouth, &Fields::northSouth},
    {ids::kLongitude, &Fields::longitude},
    {ids::kEastWest, &Fields::eastWest},
    {ids::kLocatorLabel, &Fields::locatorLabel},
    {ids::kTarget, &Fields::target},
    {ids::kDistance, &Fields::distance},
    {ids::kBearing, &Fields::bearing},
}};

constexpr int kMapWidth = 220, kMapHeight = 106;

// Hundredths of a minute, bounded so that no input overflows.
long long Hundredths(double raw) { return static_cast<long long>(std::ceil(std::clamp(raw, -1e7, 1e7) * 100)); }

// Hundredths of a minute from the cell's southern or western edge, 1 … cell (0 stays 0).
long long IntoCell(double raw, long long negativePeriod, long long cell) {
    long long value = Hundredths(raw);
    if (raw > 0) {
        if (value > 1000) value -= ((value - 1001) / 1000 + 1) * 1000;
    } else if (value < 0) {
        value += ((-value - 1) / negativePeriod + 1) * negativePeriod;
    }
    if (value > cell) value -= ((value - cell - 1) / cell + 1) * cell;
    return value;
}

int MapPixels(long long hundredths) { return static_cast<int>(std::ceil(0.4 * static_cast<double>(hundredths))); }

}  // namespace

MapCross CrossFor(double rawLatitude, double rawLongitude) {
    return {MapPixels(IntoCell(rawLongitude, 1000, 500)), MapPixels(IntoCell(rawLatitude, 10000, 250))};
}

MainScreen::MainScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}

void MainScreen::Initialise() {
    AppState& state = context_.state;
    fields_.target = loadSettings(state, context_.settingsFile);
    // A receiver kept from the last run is read from the start, and waited for when it is not
    // plugged in yet.
    if (state.portActive && !PortName(state.portIndex).empty())
        context_.port.OpenPort(state.nmea, PortName(state.portIndex), BaudRateFor(state.speedIndex), WhenAbsent::Wait);
    LoadIni(state, context_.settingsFile);
    PublishLinks();  // the radio is reached from the start, also when a sub-screen opens first
    night_ = NightWanted(state.palette, SkyPosition(state), std::time(nullptr));
    dialog_.SetNight(night_);
    fields_.locatorLabel = "Locator";
    ShowFields();
    context_.stationIndex.Refresh();  // the directory is read beside the window from now on
    dialog_.StartTimer();
    TakeAllText(context_.state.nmea);
}

void MainScreen::PublishLinks() {
    context_.links.Publish(context_.state.links, OwnLocator(context_.state));
    context_.radio.Publish(context_.state.rig);
}

void MainScreen::OnPress(int id) {
    if (id == ids::kSettingsButton) context_.opener.Open(ScreenKind::Settings);
    if (id == ids::kRepeaterButton) context_.opener.Open(ScreenKind::Repeater);
    if (id == ids::kInfoButton) context_.opener.Open(ScreenKind::About);
    if (id == ids::kPictureButton) {
        otherPicture_ = !otherPicture_;
        dialog_.Redraw();
    }
}

std::string MainScreen::ShutDown() {
    dialog_.StopTimer();
    ReadFields();
    context_.port.ClosePort();
    const FileWritten saved = saveSettings(context_.state, fields_.target, context_.settingsFile);
    return saved ? std::string() : "Unable to save the settings\n" + CodePageFromUtf8(saved.failure);
}

void MainScreen::RunCycle() {
    ReadFields();
    if (context_.state.portActive)
        GpsStep();
    else
        OfflineStep();
    ShowFields();
    ReadFields();
    const std::optional<GeoPoint> own = OwnPosition(context_.state);  // once a cycle, for every step
    TargetStep(own);
    ShowFields();
    PublishLinks();
    FollowStep(own);
    // Between searches the rows stay in order of their distance: the first row is the nearest an
    // alert tells, in the same second.
    const std::vector<MeasuredStation> listed = KeepInDistanceOrder(context_.rows, own);
    TuneStep(listed);
    AlertStep(listed);
    if (own) drawing_.around = AroundTheCar{listed, HeadingDeg(context_.state), drawing_.ink};
    else drawing_.around.reset();
    PaletteStep();
    dialog_.Redraw();
    PortFailureStep();
}

// The reader knows only after a while that a port cannot be opened; the message comes with the
// next cycle, last, so that the screen is up to date behind it.
void MainScreen::PortFailureStep() {
    const std::string failure = context_.port.TakeFailure();
    if (!failure.empty()) context_.messages.ShowMessage("Error", failure);
}

// The list follows the car: searched again after the stretch the driver chose, at the first
// position and when the filters change. One look at the directory file a second tells when an
// import replaced it.
void MainScreen::FollowStep(std::optional<GeoPoint> own) {
    context_.stationIndex.Refresh();
    const AppState& state = context_.state;
    if (FollowSearchDue(state.drive.followKm, own, context_.followMark, FilterOf(state)))
        FillNearestRows(context_, own);  // while the directory is read, again next second
}

// With tune = follow, the radio goes with the list: each new nearest, by the rule an alert
// tells it by, is tuned by itself.
void MainScreen::TuneStep(const std::vector<MeasuredStation>& listed) {
    const AppState& state = context_.state;
    const MeasuredStation* nearest = tuneWatch_.NewNearest(listed);
    if (nearest && state.rig.on && state.rig.tune == TuneMode::Follow && state.drive.followKm > 0 && nearest->station.outputMhz)
        context_.radio.Tune(nearest->station, TuneCause::Follow);
}

// A new nearest the radio is being set to is told once it is set (at most a few seconds
// later), so that the driver hears "radio set" with it.
bool MainScreen::HoldForRadio(const RigState& radio, const MeasuredStation* nearest) {
    const bool tuning = nearest && radio.busy && SameStation(*radio.busy, nearest->station);
    if (!tuning) holdSince_.reset();
    else if (!holdSince_) holdSince_ = seconds_;
    return holdSince_ && seconds_ - *holdSince_ < kHoldForRadioSeconds;
}

// What the driver is told: the cycle counts the seconds. A change is told as the second it is
// told in has it, so that it names what the list shows then.
void MainScreen::AlertStep(const std::vector<MeasuredStation>& listed) {
    const AppState& state = context_.state;
    ++seconds_;
    DrivingSecond second{seconds_, state.portActive, state.fixLive, {}, listed, HeadingDeg(state)};
    if (const std::optional<LocatorText> square = OwnLocator(state)) second.square = LocatorView(*square);
    alertPacer_.Offer(alertWatch_.Observe(second, state.drive.told));
    const RigState radio = context_.radio.State();
    const MeasuredStation* nearest = NearestOf(listed);
    const bool hold = HoldForRadio(radio, nearest);
    const std::optional<std::vector<AlertKind>> due = alertPacer_.Due(seconds_, context_.announcer.Busy() || hold);
    if (!due) return;
    std::optional<Announcement> told = alertWatch_.Tell(*due, second, state.drive.told);
    if (told && nearest && radio.tuned && SameStation(*radio.tuned, nearest->station) &&
        std::find(told->kinds.begin(), told->kinds.end(), AlertKind::Nearest) != told->kinds.end())
        told->text += ". radio set";
    if (told && state.drive.alert != AlertMode::Off) context_.announcer.Start(state.drive.alert, *told);
}

// The receiver's time once it gave one, also while the fix is lost: a replayed or simulated
// drive gets its own day and night, and a machine whose clock is off does not choose for it.
void MainScreen::PaletteStep() {
    const AppState& state = context_.state;
    const std::int64_t utc = state.portActive && receiverClock_
                                 ? ReceiverUtcNow(*receiverClock_, std::chrono::steady_clock::now())
                                 : std::time(nullptr);
    const bool night = NightWanted(state.palette, SkyPosition(state), utc);
    if (night != night_) dialog_.SetNight(night);
    night_ = night;
}

// A position kept from an earlier second is greyed out, so it never looks live.
void MainScreen::ShowPositionLive(bool live) {
    for (const int id : {ids::kLatitude, ids::kNorthSouth, ids::kLongitude, ids::kEastWest}) dialog_.SetEnabled(id, live);
}

// Only changed texts reach the controls, so the caret in the target entry stays put.
void MainScreen::ShowFields() {
    for (const auto& [id, field] : kBindings)
        if (dialog_.Text(id) != fields_.*field) dialog_.SetText(id, fields_.*field);
}

void MainScreen::ReadFields() {
    for (const auto& [id, field] : kBindings) fields_.*field = dialog_.Text(id);
}

void MainScreen::GpsStep() {
    AppState& state = context_.state;
    const std::string sentence = TakeSentence(state.nmea);
    const GroundMotion reported = TakeReportedMotion(state.nmea);  // by gpsd, beside the sentences
    const RmcReading reading = DecodeSentence(sentence);
    fields_.sentence = sentence;
    fields_.locatorLabel = "Locator";
    if (reading.status == 'V') {
        drawing_.time = reading.timeText;
        fields_.utc = "Bad GPS-Signal";
    } else {
        drawing_.time.clear();
        fields_.utc = "No GPS Signal";
    }
    if (reading.utcSeconds != 0) receiverClock_ = ReceiverClock{reading.utcSeconds, std::chrono::steady_clock::now()};
    state.fixLive = reading.status == 'A';
    state.motion = !state.fixLive ? GroundMotion{} : reading.motion.speedKmh ? reading.motion : reported;
    drawing_.ink = reading.status == 'A' ? Ink::Live : Ink::Stale;
    ShowPositionLive(reading.status == 'A');
    if (reading.status == 'A') ShowFix(reading);
    if (!state.gpsFix && sentence.empty()) fields_.sentence = kNoPositionHint;  // nothing heard yet
}

void MainScreen::ShowFix(const RmcReading& reading) {
    AppState& state = context_.state;
    drawing_.time = reading.timeText;
    fields_.latitude = reading.latitudeText;
    fields_.northSouth = reading.latitudeHemisphere;
    fields_.longitude = reading.longitudeText;
    fields_.eastWest = reading.longitudeHemisphere;
    state.gpsFix = GeoPoint{reading.latitude, reading.longitude};
    state.currentLocator = LocatorFromPosition(reading.rawLatitude, reading.rawLongitude);
    drawing_.locator = LongLocatorFromPosition(reading.rawLatitude, reading.rawLongitude, state.drive.locatorLength);
    const SubsquareEdge edge = NearestSubsquareEdge(reading.rawLatitude, reading.rawLongitude);
    char edgeText[32];
    std::snprintf(edgeText, sizeof edgeText, "edge %.1f km %c", edge.km, edge.direction);
    fields_.utc = edgeText;  // the time is drawn beside it
    drawing_.mapShown = true;
    drawing_.cross = CrossFor(reading.rawLatitude, reading.rawLongitude);
}

void MainScreen::OfflineStep() {
    AppState& state = context_.state;
    drawing_.time.clear();
    fields_.utc = "No GPS Signal";
    fields_.latitude.clear();
    fields_.northSouth.clear();
    fields_.longitude.clear();
    fields_.eastWest.clear();
    fields_.locatorLabel = "Locator offline";
    drawing_.mapShown = false;
    drawing_.locator = LocatorView(state.offlineLocator);
    fields_.sentence = IsValidLocator(LocatorView(state.offlineLocator)) ? std::string() : std::string(kNoPositionHint);
    state.currentLocator = {};
    state.fixLive = false;
    state.motion = {};
    drawing_.ink = Ink::Offline;
    ShowPositionLive(true);
}

void MainScreen::TargetStep(std::optional<GeoPoint> own) {
    const LocatorText target = ToLocatorText(fields_.target);  // its first six characters
    if (!own || !IsValidLocator(LocatorView(target))) {
        fields_.distance = !own && !fields_.target.empty() ? std::string(kNoPositionShort) : std::string();
        fields_.bearing.clear();
        return;
    }
    const DistanceBearingTexts texts = DescribeDistanceAndBearing(*own, PositionFromLocator(LocatorView(target)));
    fields_.distance = texts.distance;
    fields_.bearing = texts.bearing;
}

void MainScreen::Paint(Painter& painter, LayoutShape shape) const {
    const MainDrawingPlaces& at = MainDrawingOf(shape);
    painter.UseInk(Ink::Live);  // a time is always this second's
    if (!drawing_.time.empty()) painter.DrawText(at.timeX, at.timeY, drawing_.time, at.textSize);
    painter.UseInk(drawing_.ink);
    if (!drawing_.locator.empty()) painter.DrawText(at.locatorX, at.locatorY, drawing_.locator, at.textSize);
    if (PictureShown(shape)) {
        PaintStationPicture(painter, at.picture, drawing_.around);
        return;
    }
    painter.FillWhite(at.mapX, at.mapY, kMapWidth, kMapHeight);
    if (!drawing_.mapShown) return;
    // The square's 200 × 100 frame, 10 in and 3 down, and the cross from its lower left.
    const int left = at.mapX + 10, bottom = at.mapY + 103;
    const auto [x, y] = drawing_.cross;
    painter.Rectangle(left, at.mapY + 3, left + 200, bottom);
    painter.Line(left + x - 4, bottom - y, left + x + 3, bottom - y);
    painter.Line(left + x - 1, bottom - y - 3, left + x - 1, bottom - y + 4);
}

}  // namespace moltrevane
