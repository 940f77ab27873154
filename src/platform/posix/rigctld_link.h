// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio tuned through rigctld by a worker thread, so that the window's thread never waits
// on its socket or on a rig that is slow to answer.

#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "base/unique_fd.h"
#include "links/radio_link.h"

namespace moltrevane {

class RigctldLink final : public RadioLink {
public:
    RigctldLink();
    ~RigctldLink() override;  // stops the worker; its socket closes with it
    RigctldLink(const RigctldLink&) = delete;
    RigctldLink& operator=(const RigctldLink&) = delete;

    void Publish(const RigSettings& settings) override;
    void Tune(const Station& station, TuneCause cause) override;
    RigState State() const override;

private:
    void Run();
    void Wake();

    mutable std::mutex mutex_;  // guards the four below
    RigSettings settings_;
    std::optional<std::pair<Station, TuneCause>> tune_;  // the newest wish, not yet taken
    RigState state_;
    bool stopping_ = false;
    UniqueFd wakeRead_, wakeWrite_;  // a byte tells the worker to look at the above
    std::thread worker_;
};

}  // namespace moltrevane
