// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/settings_screen.h"

#include <array>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "screens/messages.h"
#include "gps/gps_source.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

int ItemOrNone(int index) { return index >= 0 && index <= 7 ? index : -1; }

void ShowRestartNotice(MessageSink& messages) {
    messages.ShowMessage("Info !", "Restart the programm to close the port complete");
}

}  // namespace

SettingsScreen::SettingsScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}

void SettingsScreen::Initialise() {
    AppState& state = context_.state;
    dialog_.Select(ids::kPortChoice, ItemOrNone(state.portIndex));
    dialog_.Select(ids::kSpeedChoice, ItemOrNone(state.speedIndex));
    dialog_.SetText(ids::kOfflineLocator, LocatorView(state.offlineLocator));
    for (const FilterFlag& flag : kFilterFlags) dialog_.SetChecked(flag.controlId, state.*flag.field);
    for (const ModeFlag& flag : kModeFlags) dialog_.SetChecked(flag.controlId, (state.shownModes & ModeBit(flag.mode)) != 0);
    if (state.portActive) dialog_.StartTimer();
    SetPortButtons(!state.portActive, state.portActive);
}

void SettingsScreen::OnPress(int id) {
    if (id == ids::kOpenPort) OpenPort();
    if (id == ids::kClosePort) ClosePort();
}

void SettingsScreen::OnFocusLost(int id) {
    if (id == ids::kOfflineLocator) OfflineLocatorLeft();
}

void SettingsScreen::SetPortButtons(bool openEnabled, bool closeEnabled) {
    dialog_.SetEnabled(ids::kOpenPort, openEnabled);
    dialog_.SetEnabled(ids::kClosePort, closeEnabled);
}

void SettingsScreen::OpenPort() {
    AppState& state = context_.state;
    SetPortButtons(false, true);
    state.speedIndex = dialog_.Selection(ids::kSpeedChoice);
    state.portIndex = dialog_.Selection(ids::kPortChoice);
    const std::string portName = PortName(state.portIndex);
    if (!portName.empty()) context_.port.OpenPort(state.nmea, portName, BaudRateFor(state.speedIndex), WhenAbsent::GiveUp);
    dialog_.StartTimer();
    state.portActive = true;
}

void SettingsScreen::ClosePort() {
    dialog_.SetEnabled(ids::kClosePort, false);
    context_.state.portActive = false;
    dialog_.StopTimer();
    ShowRestartNotice(context_.messages);
}

void SettingsScreen::OnTimer() { dialog_.SetText(ids::kNmeaView, TakeAllText(context_.state.nmea)); }

void SettingsScreen::OfflineLocatorLeft() {
    AppState& state = context_.state;
    state.offlineLocator = ToLocatorText(dialog_.Text(ids::kOfflineLocator));
    if (IsValidLocator(LocatorView(state.offlineLocator))) return;
    state.offlineLocator = ToLocatorText("ERROR");
    dialog_.SetText(ids::kOfflineLocator, "ERROR");
}

// The flags go into the settings record when the program ends; the modes, which it has no room
// for, into Moltrevane.ini now.
void SettingsScreen::OnClose() {
    AppState& state = context_.state;
    for (const FilterFlag& flag : kFilterFlags) state.*flag.field = dialog_.Checked(flag.controlId);
    VoiceModes modes = 0;
    for (const ModeFlag& flag : kModeFlags)
        if (dialog_.Checked(flag.controlId)) modes |= ModeBit(flag.mode);
    if (modes == state.shownModes) return;
    state.shownModes = modes;
    SaveIniTelling(context_, "the modes");
}

}  // namespace moltrevane
