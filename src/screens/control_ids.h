// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Control identifiers of the screens.

#include <array>
#include <string_view>

namespace moltrevane::ids {

// Every screen but the main one: leaves it, as Escape and the close box do
inline constexpr int kBackButton = 1130;

// Main screen
inline constexpr int kSentence = 1007, kUtc = 1014, kLatitude = 1013, kNorthSouth = 1015, kLongitude = 1016,
                     kEastWest = 1017, kLocatorLabel = 1041, kTarget = 1022, kDistance = 1080, kBearing = 1081,
                     kSettingsButton = 1000, kRepeaterButton = 1021, kInfoButton = 1006,
                     kPictureButton = 1120;  // over the drawing: the map or the picture of the stations

// Repeater screen, one entry per row
struct RepeaterRowIds {
    int newCall, call, km, grad, info, stationInfo, channel, tune;  // info: the locator and place
};
inline constexpr std::array<RepeaterRowIds, 7> kRepeaterRows = {{
    {1050, 1042, 1043, 1044, 1045, 1075, 1140, 1150},
    {1051, 1046, 1047, 1048, 1049, 1077, 1141, 1151},
    {1052, 1054, 1055, 1056, 1057, 1078, 1142, 1152},
    {1053, 1074, 1059, 1060, 1061, 1079, 1143, 1153},
    {1062, 1018, 1063, 1064, 1065, 1080, 1144, 1154},
    {1066, 1019, 1067, 1068, 1069, 1081, 1145, 1155},
    {1070, 1058, 1071, 1072, 1073, 1082, 1146, 1156},
}};
// A Tune button's text: the radio is on the row's station, is being set to it, or may be.
inline constexpr std::string_view kTuneText = "T", kTunedText = "\x95", kTuningText = "\x85";  // "•" and "…" in Windows-1252
inline constexpr int kSearchStation = 1021, kFollowButton = 1023, kEditStation = 1024;

// Driving screen: the list that follows the car, alerts and what they tell, the locator's length
inline constexpr int kFollowChoice = 1110, kAlertChoice = 1111, kSpeechState = 1112, kLocatorChoice = 1113,
                     kTellNearest = 1114, kTellSquare = 1115, kTellFix = 1116;

// Settings screen
inline constexpr int kPortChoice = 1001, kSpeedChoice = 1002, kOpenPort = 1003, kClosePort = 1004,
                     kOfflineLocator = 1037, kNmeaView = 1005;

// Station info screen
inline constexpr int kStationRecordList = 1076, kInfoTune = 1140, kInfoRadioState = 1141;

// About screen
inline constexpr int kPaletteChoice = 1090, kImportStations = 1091, kLinksButton = 1092;
inline constexpr std::string_view kImportStationsText = "Import stations\x85";  // "…" in Windows-1252

// Station list picker: a row per list found, ticked or not
inline constexpr std::array<int, 5> kListRows = {1160, 1161, 1162, 1163, 1164};
inline constexpr int kListState = 1165, kListUp = 1166, kListDown = 1167, kListAdd = 1168, kListReplace = 1169,
                     kListOther = 1170;

// Links screen: the locator handed to WSJT-X and JS8Call
inline constexpr int kWsjtxOn = 1100, kWsjtxAddress = 1101, kWsjtxState = 1102, kJs8callOn = 1103,
                     kJs8callAddress = 1104, kJs8callState = 1105, kRigOn = 1106, kRigAddress = 1107, kRigState = 1108;

// Edit-station screen
inline constexpr int kEditCallEntry = 1007, kSearchCall = 1021;

}  // namespace moltrevane::ids
