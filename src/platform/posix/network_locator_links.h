// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The locator handed to WSJT-X (UDP) and JS8Call (TCP) by a worker thread, so that the
// window's thread never waits on a socket.

#include <mutex>
#include <thread>

#include "links/locator_links.h"
#include "base/unique_fd.h"

namespace moltrevane {

class NetworkLocatorLinks final : public LocatorLinks {
public:
    NetworkLocatorLinks();
    ~NetworkLocatorLinks() override;  // stops the worker; its sockets close with it
    NetworkLocatorLinks(const NetworkLocatorLinks&) = delete;
    NetworkLocatorLinks& operator=(const NetworkLocatorLinks&) = delete;

    void Publish(const LinkSettings& settings, const std::optional<LocatorText>& locator) override;
    LinkStates States() const override;

    // What the worker is asked to do.
    struct Order {
        LinkSettings settings;
        std::optional<LocatorText> locator;
        bool operator==(const Order&) const = default;
    };

private:
    void Run();

    mutable std::mutex mutex_;  // guards the three below
    Order order_;
    LinkStates states_;
    bool stopping_ = false;
    UniqueFd wakeRead_, wakeWrite_;  // a byte tells the worker to look at order_
    std::thread worker_;
};

}  // namespace moltrevane
