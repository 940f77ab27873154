// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/receiver_link.h"

#include <cstring>

namespace moltrevane {

std::string FailureMessage(const Opened& opened) {
    switch (opened.failure) {
        case OpenFailure::Configure: return "Unable to configure the serial port";
        case OpenFailure::Timeouts: return "Unable to set the time-out parameters";
        case OpenFailure::None: return {};
        default: break;
    }
    const std::string reason = [&]() -> std::string {
        switch (opened.failure) {
            case OpenFailure::NoDevice: return opened.what + ": no such device";
            case OpenFailure::NotADevice: return opened.what + ": not a serial device";
            case OpenFailure::PermissionDenied:
                return opened.what + ": permission denied (your user must be in the dialout group)";
            case OpenFailure::Busy: return opened.what + ": busy, held by another program";
            case OpenFailure::Unexpected: return opened.what + ": " + std::strerror(opened.error);
            default: return "gpsd not answering at " + opened.what;
        }
    }();
    return "Unable to open the port\n" + reason;
}

}  // namespace moltrevane
