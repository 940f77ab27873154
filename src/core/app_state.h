// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one record of run-time state. The reader thread touches only `nmea` (under its guard);
// everything else belongs to the user-interface thread.

#include <optional>

#include "core/drive_settings.h"
#include "links/locator_links.h"
#include "links/radio_link.h"
#include "core/palette.h"
#include "directory/station_kind.h"
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
    RigSettings rig;
    DriveSettings drive;
    bool fullScreen = false;     // the program starts full screen (F11 still toggles)
    std::optional<bool> keypad;  // a tap on a field opens the program's keypad; unset: on a car's panel
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
    // The voice modes shown beside the flags; kept in Moltrevane.ini, not in the record.
    VoiceModes shownModes = kAllVoiceModes;
};

}  // namespace moltrevane
