// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Synthetic station directories for tests and benchmarks.

#include <filesystem>

namespace moltrevane::tools {

enum class Spread { Uniform, Clustered };

// A fresh file holding the repeater table with `stations` rows of distinct calls.
void WriteSyntheticDirectory(const std::filesystem::path& file, int stations, Spread spread, unsigned seed = 1);

}  // namespace moltrevane::tools
