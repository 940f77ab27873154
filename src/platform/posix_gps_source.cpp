#include "platform/posix_gps_source.h"

#include <algorithm>
#include <system_error>

#include "platform/gpsd_link.h"
#include "platform/serial_link.h"

namespace moltrevane {
namespace {

// gpsd when the port's link says "gpsd:…".
std::optional<GpsdAddress> GpsdTargetOf(const std::filesystem::path& link) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    return error ? std::nullopt : GpsdAddressOf(target.string());
}

// The device as gpsd names it when gpsd reads it (under this name or through a link).
std::optional<std::string> HeldByGpsd(const std::string& device, const GpsdAddress& gpsd) {
    std::error_code error;
    for (const std::string& path : GpsdDevices(gpsd)) {
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
        if (path == device || (!error && canonical == device)) return path;
    }
    return std::nullopt;
}

}  // namespace

PosixGpsSource::PosixGpsSource(MessageSink& messages, std::filesystem::path programFolder, GpsdAddress localGpsd)
    : messages_(messages), programFolder_(std::move(programFolder)), localGpsd_(std::move(localGpsd)) {}

std::unique_ptr<ReceiverLink> PosixGpsSource::LinkFor(std::string_view portName, unsigned baudRate,
                                                      Opened& opened) const {
    const std::filesystem::path device = DevicePathFor(programFolder_, portName);
    std::unique_ptr<ReceiverLink> link;
    if (const std::optional<GpsdAddress> gpsd = GpsdTargetOf(device))
        link = std::make_unique<GpsdLink>(*gpsd);
    else
        link = std::make_unique<SerialLink>(programFolder_, std::string(portName), baudRate);
    opened = link->Open();
    if (opened.failure != OpenFailure::Busy) return link;
    // Held: by gpsd, as on most Linux systems, when gpsd says it reads the device.
    if (const std::optional<std::string> held = HeldByGpsd(opened.what, localGpsd_)) {
        link = std::make_unique<GpsdLink>(localGpsd_, *held);
        opened = link->Open();
    }
    return link;
}

bool PosixGpsSource::OpenPort(NmeaBuffer& nmea, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) {
    ClosePort();
    if (DevicePathFor(programFolder_, portName).empty()) {
        messages_.ShowMessage("Error", "Unable to open the port");
        return false;
    }
    Opened opened;
    std::unique_ptr<ReceiverLink> link = LinkFor(portName, baudRate, opened);
    if (!opened.fd) {
        messages_.ShowMessage("Error", FailureMessage(opened));
        if (whenAbsent == WhenAbsent::GiveUp) return false;
    }
    const bool reading = static_cast<bool>(opened.fd);
    try {
        reader_ = std::make_unique<GpsReader>(nmea, std::move(link), std::move(opened.fd));
    } catch (const std::system_error&) {
        messages_.ShowMessage("Error", "Unable to create the read thread");
        return false;
    }
    return reading;
}

bool PosixGpsSource::ClosePort() {
    if (!reader_) return false;
    const bool wasOpen = reader_->Stop();
    reader_.reset();
    return wasOpen;
}

}  // namespace moltrevane
