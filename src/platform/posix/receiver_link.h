// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a reader needs of a kind of receiver: how to open it, whether it may come back after it
// went away, and which of its bytes are NMEA.

#include <span>
#include <string>

#include "base/unique_fd.h"

namespace moltrevane {

struct NmeaBuffer;

// Unexpected: an error the program has no words of its own for; the message gives errno's text.
enum class OpenFailure { None, NoDevice, NotADevice, PermissionDenied, Busy, Unexpected, Configure, Timeouts, GpsdNotAnswering };

struct Opened {
    UniqueFd fd;  // ready to poll for input; empty when the open failed
    OpenFailure failure = OpenFailure::None;
    std::string what;  // the device or gpsd's address, for the message
    int error = 0;     // errno of an Unexpected failure
};

class ReceiverLink {
public:
    virtual ~ReceiverLink() = default;
    // Runs on the reader thread; any wait in it ends when stopFd becomes readable.
    virtual Opened Open(int stopFd) = 0;
    // Asked before each try after the receiver went away.
    virtual bool MayComeBack() = 0;
    virtual void Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) = 0;
    // How long the reader lets input that comes often gather after a read before it waits
    // again: the main cycle takes the text only once a second, and every wake-up costs.
    // Bounded by what the kernel buffers for the link.
    virtual int GatherMs() const = 0;
};

// The message for a failed open: the program's own first line, and for an open that failed the
// device or address and the reason in plain words.
std::string FailureMessage(const Opened& opened);

}  // namespace moltrevane
