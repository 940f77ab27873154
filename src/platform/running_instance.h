#pragma once
// One program a user: a second start brings the running one's window to the front and ends,
// so a program hidden on a screen without a task bar is found again.

#include <filesystem>
#include <functional>

#include "core/unique_fd.h"

namespace moltrevane {

class RunningInstance {
public:
    // Takes the name for the program folder, or, when another process has it, asks that
    // process to come to the front.
    explicit RunningInstance(const std::filesystem::path& programFolder);
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;
    ~RunningInstance();

    // False when another process runs for this folder (and has been asked to come forward).
    bool First() const { return static_cast<bool>(listener_) || !otherAsked_; }
    // Calls comeForward, on the user-interface thread, whenever a later start asks.
    void Listen(std::function<void()> comeForward);

private:
    static void Accept(int fd, void* self);
    UniqueFd listener_;
    bool otherAsked_ = false;
    std::function<void()> comeForward_;
};

}  // namespace moltrevane
