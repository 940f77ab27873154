// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/serial_link.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

#include "gps/gps_source.h"
#include "gps/nmea.h"

namespace moltrevane {
namespace {

// termios names its rates; B0 (hang up) for a rate it has no name for here.
constexpr speed_t SpeedConstant(unsigned baudRate) {
    switch (baudRate) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        default: return B0;
    }
}
static_assert(std::ranges::none_of(kSpeedTable, [](unsigned rate) { return SpeedConstant(rate) == B0; }),
              "every rate of the speed table has its termios constant");

// Raw 8N1 without flow control, receiver on.
bool ApplyLineSettings(int fd, unsigned baudRate) {
    termios tty{};
    tcgetattr(fd, &tty);
    cfmakeraw(&tty);
    tty.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tty.c_cflag |= CS8 | CLOCAL | CREAD;
    tty.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    const speed_t speed = SpeedConstant(baudRate) == B0 ? B4800 : SpeedConstant(baudRate);
    cfsetispeed(&tty, speed);
    cfsetospeed(&tty, speed);
    return tcsetattr(fd, TCSANOW, &tty) == 0;
}

// A read returns at once with what is waiting.
bool ApplyReadTimeouts(int fd) {
    termios tty{};
    tcgetattr(fd, &tty);
    tty.c_cc[VMIN] = 0;
    tty.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &tty) == 0;
}

Opened Refused(OpenFailure failure, int error = 0) {
    Opened opened;
    opened.failure = failure;
    opened.error = error;
    return opened;
}

Opened Failed(int error) {
    switch (error) {
        case ENOENT: case ENODEV: case ENXIO: case ENOTDIR: return Refused(OpenFailure::NoDevice);
        case EACCES: case EPERM: return Refused(OpenFailure::PermissionDenied);
        case EBUSY: case EWOULDBLOCK: return Refused(OpenFailure::Busy);  // TIOCEXCL's, the lock's
        default: return Refused(OpenFailure::Unexpected, error);
    }
}

// Opening is harmless (no controlling terminal, no wait for carrier); the device is changed
// only once it is known to be a terminal no other program has open.
Opened OpenDevice(const std::filesystem::path& path, dev_t device, unsigned baudRate) {
    Opened opened;
    opened.fd.reset(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!opened.fd) return Failed(errno);
    if (!::isatty(opened.fd.get())) return Refused(OpenFailure::NotADevice);
    if (HeldByAnotherProcess(device)) return Refused(OpenFailure::Busy);
    if (::ioctl(opened.fd.get(), TIOCEXCL) != 0 || ::flock(opened.fd.get(), LOCK_EX | LOCK_NB) != 0) return Failed(errno);
    if (!ApplyLineSettings(opened.fd.get(), baudRate)) return Refused(OpenFailure::Configure);
    if (!ApplyReadTimeouts(opened.fd.get())) return Refused(OpenFailure::Timeouts);
    int dtr = TIOCM_DTR, rts = TIOCM_RTS;
    ::ioctl(opened.fd.get(), TIOCMBIS, &dtr);
    ::ioctl(opened.fd.get(), TIOCMBIS, &rts);
    return opened;
}

// The device as a message names it: where the links lead, even when nothing is there.
std::string ShownPath(std::filesystem::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path.lexically_normal().string();
}

}  // namespace

std::filesystem::path DevicePathFor(const std::filesystem::path& programFolder, std::string_view portName) {
    if (portName.size() != 5 || portName.substr(0, 3) != "COM" || portName[4] != ':' || portName[3] < '1' ||
        portName[3] > '8')
        return {};
    const std::filesystem::path link = programFolder / portName.substr(0, 4);
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ignored))) return link;
    return std::filesystem::path(kPortDevices[static_cast<std::size_t>(portName[3] - '1')]);
}

SerialLink::SerialLink(std::filesystem::path programFolder, std::string portName, unsigned baudRate)
    : programFolder_(std::move(programFolder)), portName_(std::move(portName)), baudRate_(baudRate) {}

// Only a character device that no other program has open: never another program's terminal.
Opened SerialLink::Open(int) {
    const std::filesystem::path path = DevicePathFor(programFolder_, portName_);
    struct stat device {};
    Opened opened;
    if (path.empty())
        opened = Refused(OpenFailure::NoDevice);
    else if (::stat(path.c_str(), &device) != 0)
        opened = Failed(errno);
    else if (!S_ISCHR(device.st_mode))
        opened = Refused(OpenFailure::NotADevice);
    else
        opened = OpenDevice(path, device.st_rdev, baudRate_);
    opened.what = ShownPath(path);
    if (opened.fd) {
        link_ = LinkIdentityOf(path);
        pseudoTerminal_ = IsPseudoTerminal(device.st_rdev);
    }
    return opened;
}

bool SerialLink::MayComeBack() {
    return !pseudoTerminal_ || LinkIdentityOf(DevicePathFor(programFolder_, portName_)) != link_;
}

void SerialLink::Take(std::span<const unsigned char> bytes, NmeaBuffer& nmea) {
    for (const unsigned char byte : bytes) FeedByte(nmea, byte);
}

}  // namespace moltrevane
