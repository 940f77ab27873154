#pragma once
// The reader thread: it owns the receiver's descriptor and waits with poll on it and on a
// wake-up pipe; a receiver that goes away is tried again once a second until it is back.

#include <atomic>
#include <memory>
#include <thread>

#include "core/unique_fd.h"
#include "platform/receiver_link.h"

namespace moltrevane {

struct NmeaBuffer;

class GpsReader {
public:
    // Starts reading `opened` (or, when it is empty, waiting for the receiver) into nmea.
    // Throws std::system_error when no thread or pipe can be had.
    GpsReader(NmeaBuffer& nmea, std::unique_ptr<ReceiverLink> link, UniqueFd opened);
    ~GpsReader();  // stops and joins
    GpsReader(const GpsReader&) = delete;
    GpsReader& operator=(const GpsReader&) = delete;

    // Stops and joins the thread; true when the receiver was open at the end.
    bool Stop();
    std::thread::native_handle_type ThreadHandle() { return thread_.native_handle(); }

private:
    void Loop();
    bool ReadWaiting();

    NmeaBuffer& nmea_;
    std::unique_ptr<ReceiverLink> link_;
    UniqueFd fd_;  // the reader thread's alone while it runs
    UniqueFd wakeRead_, wakeWrite_;
    std::atomic<bool> open_{false};
    std::thread thread_;
};

}  // namespace moltrevane
