#pragma once
// Everything the screens share for the whole run.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/follow.h"
#include "directory/station_directory.h"
#include "screens/import_job.h"

namespace moltrevane {

struct AppState;
class Announcer;
class GpsSource;
class IndexLoader;
class LocatorLinks;
class MessageSink;
class ScreenOpener;

// A repeater row's station: the directory's row it names, and that row's record.
struct RowStation {
    StationKey key;  // the call UTF-8, as the directory has it
    Station station;
};

// The repeater screen's rows, kept while the screen is closed; an empty row has no station.
struct RepeaterRows {
    std::array<std::optional<RowStation>, 7> rows;
    int searches = 0;  // counts the searches that filled the rows: an open screen sees the car's
    int reorders = 0;  // counts the times the rows were put in a new order as the car moved
    std::optional<std::size_t> typing;  // the row whose call is being typed: the order waits
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
