// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/import_job.h"

#include <malloc.h>

#include <algorithm>
#include <utility>

#include "screens/messages.h"
#include "import/station_import.h"
#include "screens/code_page.h"
#include "screens/screen_context.h"

namespace moltrevane {

ImportJob::~ImportJob() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

bool ImportJob::Start(std::vector<std::filesystem::path> files, std::filesystem::path directory, ImportKind kind) {
    if (running_) return false;
    if (worker_.joinable()) worker_.join();  // ended already: it only has to be collected
    running_ = true;
    percent_ = 0;
    worker_ = std::thread([this, files = std::move(files), directory = std::move(directory), kind] {
        ImportOptions options;
        options.kind = kind;
        options.stop = &stop_;
        options.progress = [&](std::size_t file, double done) {
            percent_ = static_cast<int>(100 * (static_cast<double>(file) + done) / static_cast<double>(files.size()));
        };
        std::string report = ReportText(ImportStations(files, directory, options));
        // The import's memory (SQLite's pages, a parser's buffers) freed on this thread stays in
        // its arena: given back, the program is as small after an import as before it.
        malloc_trim(0);
        const std::lock_guard lock(reportGuard_);  // an import seen ended has its report ready
        report_ = std::move(report);
        running_ = false;
    });
    return true;
}

std::optional<std::string> ImportJob::TakeReport() {
    const std::lock_guard lock(reportGuard_);
    return std::exchange(report_, std::nullopt);
}

std::string WrappedText(std::string_view text, std::size_t width) {
    std::string wrapped;
    std::size_t lineLength = 0;
    const auto add = [&](std::string_view word) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) wrapped += '\n', lineLength = 0;
        else if (lineLength > 0) wrapped += ' ', ++lineLength;
        wrapped += word;
        lineLength += word.size();
    };
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find_first_of(" \n", start), text.size());
        std::string_view word = text.substr(start, end - start);
        // A path has no blanks: it is broken after a slash, or where it has to be.
        while (word.size() > width) {
            const std::size_t slash = word.substr(0, width).rfind('/');
            const std::size_t cut = slash == std::string_view::npos || slash == 0 ? width : slash + 1;
            add(word.substr(0, cut));
            word.remove_prefix(cut);
            lineLength = width;  // the rest starts a line of its own
        }
        if (!word.empty()) add(word);
        if (end < text.size() && text[end] == '\n') wrapped += '\n', lineLength = 0;
        start = end + 1;
    }
    return wrapped;
}

void ShowImportReport(ScreenContext& context) {
    // Lines short enough for a message on the smallest screen (243 pixels wide, beside the icon).
    if (const std::optional<std::string> report = context.import.TakeReport())
        context.messages.ShowMessage("Import stations", CodePageFromUtf8(WrappedText(*report, 20)));
}

}  // namespace moltrevane
