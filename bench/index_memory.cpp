// SPDX-License-Identifier: GPL-3.0-or-later
// What reading the station index adds to a fresh process's memory: run by index_bench's
// BM_IndexLoad, where earlier repetitions would let the allocator hand back memory freed
// before. Prints the resident memory the index keeps and the peak while it was read, in kB.
//   index_memory DIRECTORY_FILE
#include <cstdio>
#include <fstream>
#include <string>

#include "directory/station_index.h"

namespace {

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string name; status >> name;) {
        long kb = 0;
        if (name == field && status >> kb) return kb;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: index_memory DIRECTORY_FILE\n");
        return 2;
    }
    const long before = StatusKb("VmRSS:");
    const auto index = moltrevane::StationIndex::Load(argv[1]);
    if (!index || index->RowCount() == 0) return 1;
    std::printf("%ld %ld\n", StatusKb("VmRSS:") - before, StatusKb("VmHWM:") - before);
    return 0;
}
