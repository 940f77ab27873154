#include "screens/driving_screen.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/program_ini.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

template <typename Value, std::size_t N>
int PlaceOf(Value value, const std::array<Value, N>& choices) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    return found == choices.end() ? 0 : static_cast<int>(found - choices.begin());
}

// The choice's item, or nothing for none.
template <typename Value, std::size_t N>
std::optional<Value> Chosen(int item, const std::array<Value, N>& choices) {
    if (item < 0 || item >= static_cast<int>(N)) return std::nullopt;
    return choices[static_cast<std::size_t>(item)];
}

constexpr std::array<AlertMode, 3> kAlertModes = {AlertMode::Off, AlertMode::Tone, AlertMode::Speech};

}  // namespace

void DrivingScreen::Initialise() {
    const DriveSettings& drive = context_.state.drive;
    opened_ = drive;
    dialog_.Select(ids::kFollowChoice, PlaceOf(drive.followKm, kFollowKmChoices));
    dialog_.Select(ids::kAlertChoice, PlaceOf(drive.alert, kAlertModes));
    dialog_.Select(ids::kLocatorChoice, PlaceOf(drive.locatorLength, kLocatorLengths));
    ShowSpeech();
}

void DrivingScreen::OnClose() {
    TakeChoices();
    if (context_.state.drive != opened_) SaveIni(context_.state, context_.settingsFile);
}

void DrivingScreen::TakeChoices() {
    DriveSettings& drive = context_.state.drive;
    drive.followKm = Chosen(dialog_.Selection(ids::kFollowChoice), kFollowKmChoices).value_or(drive.followKm);
    drive.alert = Chosen(dialog_.Selection(ids::kAlertChoice), kAlertModes).value_or(drive.alert);
    drive.locatorLength = Chosen(dialog_.Selection(ids::kLocatorChoice), kLocatorLengths).value_or(drive.locatorLength);
}

void DrivingScreen::ShowSpeech() {
    const bool missing = !context_.announcer.SpeechAvailable();
    dialog_.SetText(ids::kSpeechState, missing ? "Speech: espeak-ng is not installed; spoken alerts are silent"
                                               : "Speech: by espeak-ng");
}

}  // namespace moltrevane
