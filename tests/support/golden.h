// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A checked-in golden text: what a test made, compared with the file. After an intended change
// run the test with MOLTREVANE_REGENERATE_GOLDEN=1, which writes the files instead, and review
// them with git diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace moltrevane::testing {

inline void ExpectGolden(const std::filesystem::path& expected, const std::string& made) {
    if (std::getenv("MOLTREVANE_REGENERATE_GOLDEN")) {
        WriteFile(expected, made);
        return;
    }
    EXPECT_EQ(ReadFile(expected), made) << expected;  // a text of lines: gtest shows the lines that differ
}

}  // namespace moltrevane::testing
