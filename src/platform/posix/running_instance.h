// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One program a user: a second start brings the running one's window to the front and ends,
// so a program hidden on a screen without a task bar is found again.
//
// The guard is a socket in the program folder, which only the user can write, so no other user
// can take it first; where others may write there (a lax home folder), another user's socket
// is passed over and the program starts as if it were the first. It is removed at the end.

#include <filesystem>

#include "base/unique_fd.h"

namespace moltrevane {

class RunningInstance {
public:
    // Takes the guard for the program folder, or, when another run of this user holds it, asks
    // that run to come to the front (waiting at most a second).
    explicit RunningInstance(const std::filesystem::path& programFolder);
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;
    ~RunningInstance();

    // False when another run of this user holds the guard (and has been asked to come forward).
    bool First() const { return !otherRuns_; }
    // Readable when a later start asks; -1 when this run has no guard to listen on.
    int AskingFd() const { return listener_.get(); }
    // Takes one waiting question; true when it came from this user's process. Never blocks.
    bool AskedToComeForward() const;

private:
    UniqueFd folder_, listener_;
    bool otherRuns_ = false;
};

}  // namespace moltrevane
