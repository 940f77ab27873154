#pragma once
// Everything the screens share for the whole run.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/follow.h"
#include "directory/station_directory.h"
#include "geo/locator.h"
#include "screens/import_job.h"

namespace moltrevane {

struct AppState;
class Announcer;
class GpsSource;
class IndexLoader;
class LocatorLinks;
class MessageSink;
class ScreenOpener;

// The repeater screen's rows, kept while the screen is closed.
struct RepeaterRows {
    std::array<StationKey, 7> rowStation;  // the call UTF-8, as the directory has it
    std::array<std::string, 7> rowInfo;    // channel and lookup text of the last successful lookup
    std::array<std::string, 7> rowChannel;  // the channel alone, as an announcement reads it
    std::array<LocatorText, 7> rowLocator{};
    int searches = 0;  // counts the searches that filled the rows: an open screen sees the car's
};

struct ScreenContext {
    AppState& state;
    GpsSource& port;
    MessageSink& messages;
    const StationDirectory& directory;
    ScreenOpener& opener;
    LocatorLinks& links;
    IndexLoader& stationIndex;
    Announcer& announcer;
    std::filesystem::path settingsFile;
    RepeaterRows rows{};
    StationKey infoStation{};
    ImportJob import{};  // kept while the Info screen is closed, so closing it does not stop an import
    std::optional<FollowMark> followMark{};  // where the rows were last searched
};

// Writes Moltrevane.ini with the state's settings; when that fails, the user is told that
// `what` ("the colours") was not kept.
void SaveIniTelling(ScreenContext& context, std::string_view what);

}  // namespace moltrevane
