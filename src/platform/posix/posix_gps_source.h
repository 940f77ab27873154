// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GPS source on Linux: the port's link in the program folder leads to a serial device or,
// as "gpsd:[HOST[:PORT]]", to gpsd; a device that gpsd already holds is read through gpsd.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "gps/gps_source.h"
#include "gps/gpsd_protocol.h"
#include "platform/posix/gps_reader.h"
#include "platform/posix/gpsd_link.h"

namespace moltrevane {

class PosixGpsSource final : public GpsSource {
public:
    // localGpsd: the gpsd asked about a device that is busy. lookup: how host names are found.
    explicit PosixGpsSource(std::filesystem::path programFolder, GpsdAddress localGpsd = {},
                            NameLookup lookup = ::getaddrinfo);

    bool OpenPort(NmeaBuffer& nmea, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) override;
    bool ClosePort() override;
    std::string TakeFailure() override;

    // A reader runs and has not given up.
    bool Reading() const { return reader_ && !reader_->GaveUp(); }
    // The reader thread, while there is one; for tests and measurements.
    std::thread::native_handle_type ReaderThread() const { return reader_ ? reader_->ThreadHandle() : 0; }

private:
    // On the reader thread.
    std::unique_ptr<ReceiverLink> LinkFor(const std::string& portName, unsigned baudRate, int stopFd,
                                          Opened& opened) const;

    std::filesystem::path programFolder_;
    GpsdAddress localGpsd_;
    NameLookup lookup_;
    std::string failure_;  // of an open that never got as far as a reader
    std::unique_ptr<GpsReader> reader_;
};

}  // namespace moltrevane
