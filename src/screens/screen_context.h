#pragma once
// Everything the screens share for the whole run.

#include <array>
#include <filesystem>
#include <string>

#include "directory/nearest_search.h"
#include "directory/station_directory.h"
#include "geo/locator.h"
#include "screens/import_job.h"

namespace moltrevane {

struct AppState;
class GpsSource;
class LocatorLinks;
class MessageSink;
class ScreenOpener;

// The repeater screen's rows, kept while the screen is closed.
struct RepeaterRows {
    std::array<StationKey, 7> rowStation;  // the call UTF-8, as the directory has it
    std::array<std::string, 7> rowInfo;    // channel and lookup text of the last successful lookup
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
    StationKey infoStation;
    ImportJob import;  // kept while the Info screen is closed, so closing it does not stop an import
};

}  // namespace moltrevane
