// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A receiver read through gpsd: a TCP connection that asks for the receiver's raw NMEA.

#include <netdb.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "gps/gpsd_protocol.h"
#include "platform/posix/receiver_link.h"

namespace moltrevane {

// How long a connection or a question to gpsd may take before gpsd counts as not answering.
inline constexpr std::chrono::milliseconds kGpsdAnswerTime{1000};
// How long a host name's lookup may take; a slow name server still answers within it.
inline constexpr std::chrono::milliseconds kNameLookupTime{5000};

// getaddrinfo, or a stand-in for it.
using NameLookup = int (*)(const char* host, const char* service, const addrinfo* hints, addrinfo** found);

class PendingLookup;

class GpsdLink final : public ReceiverLink {
public:
    // Every receiver gpsd reads, or only the device at devicePath.
    explicit GpsdLink(GpsdAddress address, std::string devicePath = {}, NameLookup lookup = ::getaddrinfo);
    ~GpsdLink() override;
    Opened Open(int stopFd) override;
    bool MayComeBack() override { return true; }  // gpsd restarted, the network back
    void Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) override;
    // gpsd writes each sentence on its own; a socket buffer holds seconds of them.
    int GatherMs() const override { return 200; }

private:
    GpsdAddress address_;
    std::string devicePath_;
    NameLookup lookup_;
    std::shared_ptr<PendingLookup> pending_;  // a lookup that outlived an open: the next one waits on it
    GpsdStream stream_;
};

// The devices the gpsd at address reads, as it names them; empty when it does not answer or
// stopFd becomes readable.
std::vector<std::string> GpsdDevices(const GpsdAddress& address, int stopFd, NameLookup lookup = ::getaddrinfo);

}  // namespace moltrevane
