#pragma once
// The one record of run-time state. The reader thread touches only `nmea` (under its guard);
// everything else belongs to the user-interface thread.

#include <optional>

#include "core/drive_settings.h"
#include "links/locator_links.h"
#include "core/palette.h"
#include "geo/locator.h"
#include "gps/nmea.h"

namespace moltrevane {

struct AppState {
    NmeaBuffer nmea;

    int portIndex = 1;   // "COM2:"
    int speedIndex = 2;  // 4800 baud
    // Kept in Moltrevane.ini, not in the settings record.
    PaletteChoice palette = PaletteChoice::Auto;
    LinkSettings links;
    DriveSettings drive;
    bool portActive = false;  // a GPS source is chosen: its reader may be waiting for it
    LocatorText offlineLocator{};
    LocatorText currentLocator{};  // of the last fix; empty in offline mode

    // Until the first fix the GPS position is no position: nothing is measured from it.
    std::optional<GeoPoint> gpsFix;
    // This second brought a fix: else the position is one kept from before, shown greyed.
    bool fixLive = false;
    GroundMotion motion;  // of this second's fix; nothing without one

    bool showHf = false;
    bool show2m = false;
    bool show70cm = false;
    bool show23cm = false;
    bool showBelow23cm = false;
    bool showRepeaterFm = false;
    bool showRepeaterAtv = false;
    bool showTransponder = false;
    bool showDigipeater = false;
    bool showBeacon = false;
    bool showOther = false;
};

}  // namespace moltrevane
