// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/make_screen.h"

#include "screens/about_screen.h"
#include "screens/driving_screen.h"
#include "screens/links_screen.h"
#include "screens/list_picker_screen.h"
#include "screens/repeater_screen.h"
#include "screens/settings_screen.h"
#include "screens/station_info_screen.h"

namespace moltrevane {

std::unique_ptr<Screen> MakeScreen(ScreenKind kind, ScreenContext& context, Dialog& dialog) {
    switch (kind) {
        case ScreenKind::Main: break;  // runs for the whole program, never opened over another screen
        case ScreenKind::Settings: return std::make_unique<SettingsScreen>(context, dialog);
        case ScreenKind::Repeater: return std::make_unique<RepeaterScreen>(context, dialog);
        case ScreenKind::StationInfo: return std::make_unique<StationInfoScreen>(context, dialog);
        case ScreenKind::About: return std::make_unique<AboutScreen>(context, dialog);
        case ScreenKind::EditStation: return std::make_unique<EditStationScreen>();
        case ScreenKind::Links: return std::make_unique<LinksScreen>(context, dialog);
        case ScreenKind::Driving: return std::make_unique<DrivingScreen>(context, dialog);
        case ScreenKind::ListPicker: return std::make_unique<ListPickerScreen>(context, dialog);
    }
    return nullptr;
}

}  // namespace moltrevane
