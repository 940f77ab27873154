// SPDX-License-Identifier: GPL-3.0-or-later
// The program's "Import stations…" job on hostile lists: the process's resident memory before,
// its peak while the job runs, and after the report was taken (the window's thread waits for
// nothing: here the main thread polls, as the window's timer does).
//   import_job_memory
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "screens/import_job.h"

namespace {

// "VmRSS" or "VmHWM" of this process, in kB.
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field + ":")) return std::stol(line.substr(field.size() + 1));
    return -1;
}

void WriteRepeated(const std::filesystem::path& path, const std::string& head, const std::string& part, long times) {
    std::ofstream file(path, std::ios::binary);
    file << head;
    for (long i = 0; i < times; ++i) file << part;
}

}  // namespace

int main() {
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "moltrevane-import-job-memory";
    std::filesystem::create_directories(work);
    const std::string value(999999, 'x');
    WriteRepeated(work / "deep.xml", "<?xml version=\"1.0\"?>\n", "<a>", 3000000);
    WriteRepeated(work / "attribute.xml", "<?xml version=\"1.0\"?>\n<r a=\"", std::string(999, 'x') + ">", 24000);
    WriteRepeated(work / "values.json", "[{\"callsign\":\"DB0AA\"", ",\"k\":\"" + value + "\"", 100);
    std::printf("%-14s %10s %10s %10s  %s\n", "list", "before", "peak", "after", "report");
    for (const char* name : {"deep.xml", "attribute.xml", "values.json"}) {
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from now
        const long before = StatusKb("VmRSS");
        moltrevane::ImportJob job;
        job.Start({work / name}, work / "Moltrevane.sqlite");
        std::optional<std::string> report;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (!(report = job.TakeReport()) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::printf("%-14s %7ld kB %7ld kB %7ld kB  %s\n", name, before, StatusKb("VmHWM"), StatusKb("VmRSS"),
                    report ? report->substr(0, report->find('\n')).c_str() : "(no report in 5 minutes)");
    }
    std::filesystem::remove_all(work);
}
