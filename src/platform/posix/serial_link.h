// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A receiver on a serial device: termios raw 8N1, held exclusively, never another program's
// device or terminal.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/posix/device_owner.h"
#include "platform/posix/receiver_link.h"

namespace moltrevane {

// An entry COMn in the program folder (usually a link the user or a tool made) names the
// device; otherwise the fixed table applies. Empty for a name that is no port.
std::filesystem::path DevicePathFor(const std::filesystem::path& programFolder, std::string_view portName);

class SerialLink final : public ReceiverLink {
public:
    SerialLink(std::filesystem::path programFolder, std::string portName, unsigned baudRate);
    Opened Open(int stopFd) override;  // never waits
    // A pseudo-terminal never comes back: its number is handed to the next program that asks.
    // A link made anew (a replay started again) is a new receiver.
    bool MayComeBack() override;
    void Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) override;
    // A terminal buffers 4 kB, which 115200 baud fill in a third of a second.
    int GatherMs() const override { return 50; }

private:
    std::filesystem::path programFolder_;
    std::string portName_;  // looked up at every open: a link may be made while the reader waits
    unsigned baudRate_;
    LinkIdentity link_{};          // the port's link when the device was last opened
    bool pseudoTerminal_ = false;  // the device last opened was one
};

}  // namespace moltrevane
