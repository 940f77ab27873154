// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Station lists into a new station directory: each file read, its stations made rows, the
// directory replaced only when every file was read whole.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "import/station_lists.h"

namespace moltrevane {

// Whether the lists replace the directory's stations or are added to them.
enum class ImportKind { Replace, Add };

struct ImportOptions {
    ImportKind kind = ImportKind::Replace;  // Add: the directory's stations come first, a list's duplicate of one is dropped
    std::optional<ListFormat> format;  // told from each file's content when not given
    bool includeInactive = false;
    // Which file (index) and how much of it is read, 0 … 1; called a few times a second at most.
    std::function<void(std::size_t file, double done)> progress;
    const std::atomic<bool>* stop = nullptr;  // set (from a signal, a window) to give up
};

struct FileReport {
    std::string name;  // the file's name without its folder
    ListFormat format = ListFormat::Csv;
    std::size_t stations = 0, noCall = 0, notWorking = 0, noPosition = 0, duplicates = 0, fromSquare = 0;
    std::size_t withFrequency = 0;  // of `stations`
};

struct ImportOutcome {
    std::string error;  // empty when the directory was replaced
    std::optional<std::size_t> kept;  // of an Add: the stations taken over from the directory
    std::vector<FileReport> files;
    bool keptOld = false;
    std::filesystem::path oldPath;
};

ImportOutcome ImportStations(std::span<const std::filesystem::path> files, const std::filesystem::path& target,
                             const ImportOptions& options);

// Puts NAME.old back in the directory's place and keeps the one it replaces as NAME.old, so
// that a second undo undoes the first; refused while an import into that folder runs. Empty on
// success, the reason otherwise.
std::string UndoImport(const std::filesystem::path& target);

// "przemienniki.xml: 875 stations (193 skipped: 167 not working, 26 without a position; 0
// placed from a 4-character locator)"; "uk.csv: 13 stations, none with a frequency (…)" when
// the list gave none.
std::string ReportLine(const FileReport& report);

// The whole report: a line per file, then where the old directory was kept; or the error.
std::string ReportText(const ImportOutcome& outcome);

}  // namespace moltrevane
