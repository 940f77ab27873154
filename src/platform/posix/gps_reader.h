// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reader thread: it opens the receiver, then waits with poll on its descriptor and on a
// wake-up pipe; a receiver that goes away is tried again once a second until it is back.
// Everything that can wait (a name server, gpsd, a scan of /proc) happens here, never on the
// window's thread, and every wait also watches the wake-up pipe, so a stop is at once.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/unique_fd.h"
#include "gps/gps_source.h"
#include "platform/posix/receiver_link.h"

namespace moltrevane {

struct NmeaBuffer;

class GpsReader {
public:
    // Opens the first time: the link to read, and the open's result. Its waits end when stopFd
    // becomes readable.
    using OpenLink = std::function<std::unique_ptr<ReceiverLink>(int stopFd, Opened& opened)>;

    // Starts the thread, which opens through `open` and reads into nmea. When that first open
    // fails, the reader keeps its message and, as whenAbsent says, ends or waits for the
    // receiver. Throws std::system_error when no thread or pipe can be had.
    GpsReader(NmeaBuffer& nmea, OpenLink open, WhenAbsent whenAbsent);
    ~GpsReader();  // stops and joins
    GpsReader(const GpsReader&) = delete;
    GpsReader& operator=(const GpsReader&) = delete;

    // Stops and joins the thread; true when the receiver was open at the end.
    bool Stop();
    // The message of a first open that failed, once; empty otherwise.
    std::string TakeFailure();
    // The first open failed and the reader ended.
    bool GaveUp() const { return gaveUp_; }
    std::thread::native_handle_type ThreadHandle() { return thread_.native_handle(); }

private:
    void Loop(OpenLink open, WhenAbsent whenAbsent);
    bool ReadWaiting();

    NmeaBuffer& nmea_;
    std::unique_ptr<ReceiverLink> link_;  // the reader thread's alone while it runs
    UniqueFd fd_;                         // likewise
    UniqueFd wakeRead_, wakeWrite_;
    std::atomic<bool> open_{false}, gaveUp_{false};
    std::mutex failureGuard_;
    std::string failure_;
    std::thread thread_;
};

}  // namespace moltrevane
