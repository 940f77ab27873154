// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pseudo-terminal standing in for a receiver: the test or benchmark writes to the master,
// the program opens the slave through a COMn link.

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/unique_fd.h"

namespace moltrevane::tools {

class PseudoTerminal {
public:
    PseudoTerminal() {
        int master = -1, slave = -1;
        char name[256];
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
        master_.reset(master);
        ::close(slave);  // the program opens it by name
        slavePath_ = name;
    }
    int master() const { return master_.get(); }
    const std::filesystem::path& slavePath() const { return slavePath_; }
    void Unplug() { master_.reset(); }

    void Write(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_.get(), bytes.data(), bytes.size());
            if (n <= 0) throw std::runtime_error("pty write failed");
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // Points programFolder/COMn at this pair's slave.
    void LinkAs(const std::filesystem::path& programFolder, const std::string& name) const {
        std::filesystem::remove(programFolder / name);
        std::filesystem::create_symlink(slavePath_, programFolder / name);
    }

private:
    UniqueFd master_;
    std::filesystem::path slavePath_;
};

}  // namespace moltrevane::tools
