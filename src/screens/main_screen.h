// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main screen: start-up, the one-second cycle, shut-down and its drawing: the time, the
// locator, and the map of the position in its square or the picture of the stations around.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/alerts.h"
#include "core/palette.h"
#include "geo/locator.h"
#include "links/radio_link.h"
#include "screens/screen.h"
#include "screens/screen_context.h"
#include "screens/station_picture.h"

namespace moltrevane {

struct RmcReading;

// Where the position map's cross sits, in pixels of the map, for a ddmm.mmmm position.
struct MapCross {
    int x, y;
};
MapCross CrossFor(double rawLatitude, double rawLongitude);

class MainScreen final : public Screen {
public:
    MainScreen(ScreenContext& context, Dialog& dialog);

    void Initialise() override;
    void OnTimer() override {
        RunCycle();
        ShowImportReport(context_);  // of an import that ended while the Info screen was closed
    }
    void OnPress(int id) override;
    void Paint(Painter& painter, LayoutShape shape) const override;

    void RunCycle();
    // Stops the reader and closes the port, then writes the settings file; the message when
    // that failed, or empty.
    std::string ShutDown();

    const std::string& targetText() const { return fields_.target; }

    // The texts bound one-to-one to the controls.
    struct Fields {
        std::string sentence, utc, latitude, northSouth, longitude, eastWest, locatorLabel, target, distance, bearing;
    };

private:
    // What was last drawn, drawn again on every repaint.
    struct Drawing {
        std::string time, locator;
        bool mapShown = false;
        MapCross cross{0, 0};
        Ink ink = Ink::Live;
        std::optional<AroundTheCar> around;  // without an own position, nothing
    };

    void ShowFields();
    void ReadFields();
    void GpsStep();
    void ShowFix(const RmcReading& reading);
    void OfflineStep();
    void TargetStep(std::optional<GeoPoint> own);
    // The links and the radio learn the settings and the locator they are to hand on.
    void PublishLinks();
    void PaletteStep();
    void FollowStep(std::optional<GeoPoint> own);
    void TuneStep(const std::vector<MeasuredStation>& listed);
    bool HoldForRadio(const RigState& radio, const MeasuredStation* nearest);
    void AlertStep(const std::vector<MeasuredStation>& listed);
    bool PictureShown(LayoutShape shape) const { return (shape == LayoutShape::Wide) != otherPicture_; }
    void PortFailureStep();
    void ShowPositionLive(bool live);

    ScreenContext& context_;
    Dialog& dialog_;
    Fields fields_;
    Drawing drawing_;
    std::optional<ReceiverClock> receiverClock_;  // since the last sentence with a time and date
    bool night_ = false;
    bool otherPicture_ = false;  // tapped: the map where the shape shows the stations, or these
    std::int64_t seconds_ = 0;  // cycles run: one a second
    AlertWatch alertWatch_;
    AlertPacer alertPacer_;
    NearestWatch tuneWatch_;  // the radio's, apart from the alerts': it follows whether told or not
    std::optional<std::int64_t> holdSince_;  // an alert waiting for the radio since
    static constexpr std::int64_t kHoldForRadioSeconds = 3;
};

}  // namespace moltrevane
