// SPDX-License-Identifier: GPL-3.0-or-later
// moltrevane-import: station lists into the station directory, from a terminal.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "settings/host_paths.h"
#include "import/station_import.h"

namespace {

using namespace moltrevane;

std::atomic<bool> interrupted{false};

void Interrupt(int) { interrupted = true; }

int Usage() {
    std::fprintf(stderr,
                 "usage: moltrevane-import [--output FILE] [--add] [--format NAME] [--include-inactive] FILE...\n"
                 "       moltrevane-import [--output FILE] --undo\n"
                 "formats: %s\n",
                 FormatNames().c_str());
    return 2;
}

// "przemienniki.xml [#######.............]  35 %" on one line of the terminal, from the first
// second of a file on.
class ProgressBar {
public:
    explicit ProgressBar(std::vector<std::string> names) : names_(std::move(names)), shown_(isatty(STDERR_FILENO)) {}
    ~ProgressBar() { Clear(); }
    void Show(std::size_t file, double done) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (file != file_) file_ = file, started_ = now;
        if (now - started_ < std::chrono::seconds(1)) return;
        const int filled = static_cast<int>(done * 30);
        std::fprintf(stderr, "\r%s [%s%s] %3d %%", names_[file].c_str(), std::string(filled, '#').c_str(),
                     std::string(30 - filled, '.').c_str(), static_cast<int>(done * 100));
        drawn_ = true;
    }
    void Clear() {
        if (drawn_) std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }

private:
    std::vector<std::string> names_;
    bool shown_, drawn_ = false;
    std::size_t file_ = static_cast<std::size_t>(-1);
    std::chrono::steady_clock::time_point started_;
};

}  // namespace

int main(int argc, char** argv) {
    ImportOptions options;
    std::filesystem::path output;
    std::vector<std::filesystem::path> files;
    bool undo = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--output" && i + 1 < argc) output = argv[++i];
        else if (argument == "--format" && i + 1 < argc) {
            options.format = FormatNamed(argv[++i]);
            if (!options.format) return Usage();
        } else if (argument == "--include-inactive") options.includeInactive = true;
        else if (argument == "--add") options.kind = ImportKind::Add;
        else if (argument == "--undo") undo = true;
        else if (argument == "--help" || argument == "-h") return Usage(), 0;
        else if (argument.starts_with("-") && argument != "-") return Usage();
        else files.emplace_back(argument);
    }
    if (undo ? !files.empty() || options.kind == ImportKind::Add : files.empty()) return Usage();
    if (output.empty()) {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            std::fputs("moltrevane-import: no HOME; give the directory with --output\n", stderr);
            return 1;
        }
        CreateProgramFolders(home);
        output = HostPath(home, kDirectoryFile);
    }
    if (undo) {
        if (const std::string error = UndoImport(output); !error.empty()) {
            std::fprintf(stderr, "moltrevane-import: %s\n", error.c_str());
            return 1;
        }
        std::printf("The directory before the last import is back; the one it replaced is kept as %s.old.\n",
                    output.c_str());
        return 0;
    }
    struct sigaction action {};
    action.sa_handler = Interrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file.filename().string());
    ProgressBar bar(names);
    options.progress = [&](std::size_t file, double done) { bar.Show(file, done); };
    options.stop = &interrupted;
    const ImportOutcome outcome = ImportStations(files, output, options);
    bar.Clear();
    if (!outcome.error.empty()) {
        std::fprintf(stderr, "moltrevane-import: %s\n", ReportText(outcome).c_str());
        return 1;
    }
    std::printf("%s\n", ReportText(outcome).c_str());
    // A signal that came as the new directory was renamed into place found nothing to undo.
    if (interrupted) std::fputs("moltrevane-import: interrupted when the import had already finished\n", stderr);
    return 0;
}
