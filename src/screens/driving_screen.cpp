// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/driving_screen.h"

#include <optional>

#include "core/app_state.h"
#include "links/radio_link.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

// The choice's item, or nothing for none.
template <typename Value, std::size_t N>
std::optional<Value> Chosen(int item, const std::array<Value, N>& choices) {
    if (item < 0 || item >= static_cast<int>(N)) return std::nullopt;
    return choices[static_cast<std::size_t>(item)];
}

}  // namespace

void DrivingScreen::Initialise() {
    const DriveSettings& drive = context_.state.drive;
    opened_ = drive;
    dialog_.Select(ids::kFollowChoice, static_cast<int>(PlaceOf(drive.followKm, kFollowKmChoices)));
    dialog_.Select(ids::kAlertChoice, static_cast<int>(PlaceOf(drive.alert, kAlertModes)));
    dialog_.Select(ids::kLocatorChoice, static_cast<int>(PlaceOf(drive.locatorLength, kLocatorLengths)));
    dialog_.SetChecked(ids::kTellNearest, drive.told.nearest);
    dialog_.Select(ids::kTellSquare, static_cast<int>(PlaceOf(drive.told.squareLength, kSquareLengths)));
    dialog_.SetChecked(ids::kTellFix, drive.told.fix);
    ShowSpeech();
}

void DrivingScreen::OnClose() {
    TakeChoices();
    if (context_.state.drive != opened_) SaveIniTelling(context_, "the driving settings");
}

void DrivingScreen::TakeChoices() {
    DriveSettings& drive = context_.state.drive;
    drive.followKm = Chosen(dialog_.Selection(ids::kFollowChoice), kFollowKmChoices).value_or(drive.followKm);
    drive.alert = Chosen(dialog_.Selection(ids::kAlertChoice), kAlertModes).value_or(drive.alert);
    drive.locatorLength = Chosen(dialog_.Selection(ids::kLocatorChoice), kLocatorLengths).value_or(drive.locatorLength);
    drive.told.nearest = dialog_.Checked(ids::kTellNearest);
    drive.told.squareLength = Chosen(dialog_.Selection(ids::kTellSquare), kSquareLengths).value_or(drive.told.squareLength);
    drive.told.fix = dialog_.Checked(ids::kTellFix);
}

// Beside speech, why the radio does not follow: a rig that cannot tell whether it transmits is
// never retuned by itself, so that no QSO is cut.
void DrivingScreen::ShowSpeech() {
    const bool missing = !context_.announcer.SpeechAvailable();
    std::string text = missing ? "Speech: espeak-ng is not installed; spoken alerts are silent" : "Speech: by espeak-ng";
    const RigSettings& rig = context_.state.rig;
    if (rig.on && rig.tune == TuneMode::Follow && context_.radio.State().pttUnknown)
        text += "\nRadio: no PTT report from the rig: tuned on a tap only";
    dialog_.SetText(ids::kSpeechState, text);
}

}  // namespace moltrevane
