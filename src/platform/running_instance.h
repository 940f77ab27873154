#pragma once
// One program a user: a second start brings the running one's window to the front and ends,
// so a program hidden on a screen without a task bar is found again.
//
// The guard is a lock file and a socket in the program folder, which only the user can write,
// so no other user can take them first. Where others may write there (a lax home folder), a
// lock file of another user's is passed over: the program starts as if it were the first.

#include <filesystem>

#include "core/unique_fd.h"

namespace moltrevane {

class RunningInstance {
public:
    // Takes the guard for the program folder, or, when another run of this user holds it, asks
    // that run to come to the front (waiting at most a second).
    explicit RunningInstance(const std::filesystem::path& programFolder);
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

    // False when another run of this user holds the guard (and has been asked to come forward).
    bool First() const { return !otherRuns_; }
    // Readable when a later start asks; -1 when this run has no guard to listen on.
    int AskingFd() const { return listener_.get(); }
    // Takes one waiting question; true when it came from this user's process. Never blocks.
    bool AskedToComeForward() const;

private:
    UniqueFd folder_, lock_, listener_;
    bool otherRuns_ = false;
};

}  // namespace moltrevane
