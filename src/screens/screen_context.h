#pragma once
// Everything the screens share for the whole run.

#include <array>
#include <filesystem>
#include <string>

#include "directory/nearest_search.h"
#include "geo/locator.h"

namespace moltrevane {

struct AppState;
class GpsSource;
class LocatorLinks;
class MessageSink;
class StationDirectory;
class ScreenOpener;

// The repeater screen's rows, kept while the screen is closed.
struct RepeaterRows {
    std::array<std::string, 7> rowCall;  // UTF-8, as the directory has it
    std::array<std::string, 7> rowInfo;  // channel and lookup text of the last successful lookup
    std::array<LocatorText, 7> rowLocator{};
};

struct ScreenContext {
    AppState& state;
    GpsSource& port;
    MessageSink& messages;
    const StationDirectory& directory;
    ScreenOpener& opener;
    LocatorLinks& links;
    std::filesystem::path settingsFile;
    StationList stations;
    NearestStations nearest;
    RepeaterRows rows;
    std::string infoStationCall;  // UTF-8
};

}  // namespace moltrevane
