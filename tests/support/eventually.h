// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for what another thread does: a condition checked every few milliseconds, with a
// deadline that a machine with busy cores still meets.

#include <chrono>
#include <string>
#include <thread>

#include "gps/gps_source.h"

namespace moltrevane::testing {

// True once `holds()` is; false when the limit passes first.
template <class Holds>
bool Eventually(Holds holds, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !holds();
         std::this_thread::sleep_for(std::chrono::milliseconds(2)))
        if (std::chrono::steady_clock::now() >= deadline) return false;
    return true;
}

// The message of an open that failed, once the reader knows it; empty at the deadline.
inline std::string FailureOf(GpsSource& source) {
    std::string failure;
    Eventually([&] { return !(failure = source.TakeFailure()).empty(); });
    return failure;
}

}  // namespace moltrevane::testing
