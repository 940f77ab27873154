// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An import of station lists on a worker thread: the window's thread starts it, looks at its
// progress once a second and takes the report when it is done, never waiting on it.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "import/station_import.h"

namespace moltrevane {

struct ScreenContext;

class ImportJob {
public:
    ImportJob() = default;
    ~ImportJob();  // an import still running is stopped: the directory stays as it was
    ImportJob(const ImportJob&) = delete;
    ImportJob& operator=(const ImportJob&) = delete;

    // False while another import runs. Add keeps the directory's stations beside the lists'.
    bool Start(std::vector<std::filesystem::path> files, std::filesystem::path directory,
               ImportKind kind = ImportKind::Replace);
    bool Running() const { return running_; }
    int PercentDone() const { return percent_; }
    // The report (a line per file, or the error) once, when the import has ended.
    std::optional<std::string> TakeReport();

private:
    std::thread worker_;
    std::atomic<bool> running_{false}, stop_{false};
    std::atomic<int> percent_{0};
    std::mutex reportGuard_;
    std::optional<std::string> report_;
};

// Lines of at most `width` bytes, broken at blanks (a path after a slash); line ends are kept.
std::string WrappedText(std::string_view text, std::size_t width);

// Shows a finished import's report in a message; nothing while none has finished.
void ShowImportReport(ScreenContext& context);

}  // namespace moltrevane
