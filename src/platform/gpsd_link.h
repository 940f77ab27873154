#pragma once
// A receiver read through gpsd: a TCP connection that asks for the receiver's raw NMEA.

#include <chrono>
#include <string>
#include <vector>

#include "gps/gpsd_protocol.h"
#include "platform/receiver_link.h"

namespace moltrevane {

// How long a connection or a question to gpsd may take before gpsd counts as not answering.
inline constexpr std::chrono::milliseconds kGpsdAnswerTime{1000};

class GpsdLink final : public ReceiverLink {
public:
    // Every receiver gpsd reads, or only the device at devicePath.
    explicit GpsdLink(GpsdAddress address, std::string devicePath = {});
    Opened Open() override;
    bool MayComeBack() override { return true; }  // gpsd restarted, the network back
    void Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) override;
    // gpsd writes each sentence on its own; a socket buffer holds seconds of them.
    int GatherMs() const override { return 200; }

private:
    GpsdAddress address_;
    std::string devicePath_;
    GpsdStream stream_;
};

// The devices the gpsd at address reads, as it names them; empty when it does not answer.
std::vector<std::string> GpsdDevices(const GpsdAddress& address);

}  // namespace moltrevane
