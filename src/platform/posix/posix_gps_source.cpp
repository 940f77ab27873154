// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_gps_source.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/posix/gpsd_link.h"
#include "platform/posix/serial_link.h"

namespace moltrevane {
namespace {

// gpsd when the port's link says "gpsd:…".
std::optional<GpsdAddress> GpsdTargetOf(const std::filesystem::path& link) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    return error ? std::nullopt : GpsdAddressOf(target.string());
}

// The device as gpsd names it when gpsd reads it (under this name or through a link).
std::optional<std::string> HeldByGpsd(const std::string& device, const GpsdAddress& gpsd, int stopFd,
                                      NameLookup lookup) {
    std::error_code error;
    for (const std::string& path : GpsdDevices(gpsd, stopFd, lookup)) {
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
        if (path == device || (!error && canonical == device)) return path;
    }
    return std::nullopt;
}

}  // namespace

PosixGpsSource::PosixGpsSource(std::filesystem::path programFolder, GpsdAddress localGpsd, NameLookup lookup)
    : programFolder_(std::move(programFolder)), localGpsd_(std::move(localGpsd)), lookup_(lookup) {}

std::unique_ptr<ReceiverLink> PosixGpsSource::LinkFor(const std::string& portName, unsigned baudRate, int stopFd,
                                                      Opened& opened) const {
    const std::filesystem::path device = DevicePathFor(programFolder_, portName);
    std::unique_ptr<ReceiverLink> link;
    if (const std::optional<GpsdAddress> gpsd = GpsdTargetOf(device))
        link = std::make_unique<GpsdLink>(*gpsd, std::string(), lookup_);
    else
        link = std::make_unique<SerialLink>(programFolder_, portName, baudRate);
    opened = link->Open(stopFd);
    if (opened.failure != OpenFailure::Busy) return link;
    // Held: by gpsd, as on most Linux systems, when gpsd says it reads the device.
    if (const std::optional<std::string> held = HeldByGpsd(opened.what, localGpsd_, stopFd, lookup_)) {
        link = std::make_unique<GpsdLink>(localGpsd_, *held, lookup_);
        opened = link->Open(stopFd);
    }
    return link;
}

bool PosixGpsSource::OpenPort(NmeaBuffer& nmea, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) {
    ClosePort();
    if (DevicePathFor(programFolder_, portName).empty()) {
        failure_ = "Unable to open the port";
        return false;
    }
    try {
        reader_ = std::make_unique<GpsReader>(
            nmea,
            [this, name = std::string(portName), baudRate](int stopFd, Opened& opened) {
                return LinkFor(name, baudRate, stopFd, opened);
            },
            whenAbsent);
    } catch (const std::system_error&) {
        failure_ = "Unable to create the read thread";
        return false;
    }
    return true;
}

bool PosixGpsSource::ClosePort() {
    if (!reader_) return false;
    const bool wasOpen = reader_->Stop();
    reader_.reset();
    return wasOpen;
}

std::string PosixGpsSource::TakeFailure() {
    if (!failure_.empty()) return std::exchange(failure_, {});
    return reader_ ? reader_->TakeFailure() : std::string();
}

}  // namespace moltrevane
