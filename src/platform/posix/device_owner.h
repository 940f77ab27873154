// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a device behind a port name may be taken: a receiver's name can be taken over by
// another program's device (a pseudo-terminal number given to a new shell window).

#include <sys/types.h>

#include <filesystem>

namespace moltrevane {

// Which link a port name was, so that a recreated link can be told from the old one.
struct LinkIdentity {
    ino_t inode = 0;
    long long changedSeconds = 0, changedNanoseconds = 0;
    bool operator==(const LinkIdentity&) const = default;
};

// The identity of the symbolic link at path; {} when path is no link.
LinkIdentity LinkIdentityOf(const std::filesystem::path& path);

bool IsPseudoTerminal(dev_t device);

// Another process has the character device open (as its terminal, or for any other use).
// Processes whose descriptors this user cannot see do not count.
bool HeldByAnotherProcess(dev_t device);

}  // namespace moltrevane
