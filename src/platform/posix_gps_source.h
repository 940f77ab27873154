#pragma once
// The GPS source on Linux: the port's link in the program folder leads to a serial device or,
// as "gpsd:[HOST[:PORT]]", to gpsd; a device that gpsd already holds is read through gpsd.

#include <filesystem>
#include <memory>
#include <string_view>

#include "core/messages.h"
#include "gps/gps_source.h"
#include "gps/gpsd_protocol.h"
#include "platform/gps_reader.h"

namespace moltrevane {

class PosixGpsSource final : public GpsSource {
public:
    // localGpsd: the gpsd asked about a device that is busy.
    PosixGpsSource(MessageSink& messages, std::filesystem::path programFolder, GpsdAddress localGpsd = {});

    bool OpenPort(NmeaBuffer& nmea, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) override;
    bool ClosePort() override;

    bool Reading() const { return reader_ != nullptr; }
    // The reader thread, while there is one; for tests and measurements.
    std::thread::native_handle_type ReaderThread() const { return reader_ ? reader_->ThreadHandle() : 0; }

private:
    std::unique_ptr<ReceiverLink> LinkFor(std::string_view portName, unsigned baudRate, Opened& opened) const;

    MessageSink& messages_;
    std::filesystem::path programFolder_;
    GpsdAddress localGpsd_;
    std::unique_ptr<GpsReader> reader_;
};

}  // namespace moltrevane
