// SPDX-License-Identifier: GPL-3.0-or-later
// make-directory FILE COUNT [uniform|clustered]: writes a synthetic station directory.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "directory_generator.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FILE COUNT [uniform|clustered]\n", argv[0]);
        return 2;
    }
    const std::string spread = argc == 4 ? argv[3] : "uniform";
    if (spread != "uniform" && spread != "clustered") {
        std::fprintf(stderr, "spread must be uniform or clustered\n");
        return 2;
    }
    try {
        moltrevane::tools::WriteSyntheticDirectory(
            argv[1], std::atoi(argv[2]),
            spread == "uniform" ? moltrevane::tools::Spread::Uniform : moltrevane::tools::Spread::Clustered);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
