// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder for one test, removed with it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace moltrevane::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "moltrevane-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How many files the process holds open: the same before and after what must leave none open.
inline long OpenFiles() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace moltrevane::testing
