// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the screens share for the whole run.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/follow.h"
#include "directory/station_directory.h"
#include "import/list_finder.h"
#include "screens/import_job.h"
#include "screens/list_scan.h"

namespace moltrevane {

struct AppState;
class Announcer;
class GpsSource;
class IndexLoader;
class LocatorLinks;
class RadioLink;
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
    RadioLink& radio;
    IndexLoader& stationIndex;
    Announcer& announcer;
    std::filesystem::path settingsFile;
    RepeaterRows rows{};
    StationKey infoStation{};
    ImportJob import{};  // kept while the Info screen is closed, so closing it does not stop an import
    std::optional<FollowMark> followMark{};  // where the rows were last searched
    std::vector<ListPlace> listPlaces{};  // where "Import stations…" looks for lists
    ListScan listScan{};  // kept while the picker is closed: leaving it never waits for a slow stick
};

// Writes Moltrevane.ini with the state's settings; when that fails, the user is told that
// `what` ("the colours") was not kept.
void SaveIniTelling(ScreenContext& context, std::string_view what);

}  // namespace moltrevane
