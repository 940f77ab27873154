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

struct ImportOptions {
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
};

struct ImportOutcome {
    std::string error;  // empty when the directory was replaced
    std::vector<FileReport> files;
    bool keptOld = false;
    std::filesystem::path oldPath;
};

ImportOutcome ImportStations(std::span<const std::filesystem::path> files, const std::filesystem::path& target,
                             const ImportOptions& options);

// "przemienniki.xml: 875 stations (193 skipped: 167 not working, 26 without a position; 0
// placed from a 4-character locator)"
std::string ReportLine(const FileReport& report);

// The whole report: a line per file, then where the old directory was kept; or the error.
std::string ReportText(const ImportOutcome& outcome);

}  // namespace moltrevane
