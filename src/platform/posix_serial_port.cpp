#include "platform/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "core/app_state.h"
#include "core/messages.h"
#include "platform/device_owner.h"

namespace moltrevane {
namespace {

// portHandle while the reader waits for an unplugged receiver to come back.
constexpr int kReconnecting = -2;
constexpr int kReconnectIntervalMs = 1000;

enum class OpenFailure { None, Open, Configure, Timeouts };

speed_t SpeedConstant(unsigned baudRate) {
    switch (baudRate) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        default: return B4800;
    }
}

// Raw 8N1 without flow control, receiver on.
bool ApplyLineSettings(int fd, unsigned baudRate) {
    termios tty{};
    tcgetattr(fd, &tty);
    cfmakeraw(&tty);
    tty.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tty.c_cflag |= CS8 | CLOCAL | CREAD;
    tty.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    cfsetispeed(&tty, SpeedConstant(baudRate));
    cfsetospeed(&tty, SpeedConstant(baudRate));
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

UniqueFd OpenDevice(const std::filesystem::path& path, unsigned baudRate, OpenFailure& failure) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    failure = OpenFailure::Open;
    if (!fd || ::ioctl(fd.get(), TIOCEXCL) != 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return {};
    failure = OpenFailure::Configure;
    if (!ApplyLineSettings(fd.get(), baudRate)) return {};
    failure = OpenFailure::Timeouts;
    if (!ApplyReadTimeouts(fd.get())) return {};
    int dtr = TIOCM_DTR, rts = TIOCM_RTS;
    ::ioctl(fd.get(), TIOCMBIS, &dtr);
    ::ioctl(fd.get(), TIOCMBIS, &rts);
    failure = OpenFailure::None;
    return fd;
}

// The receiver behind a port name, as the reader knows it between its opens.
struct Receiver {
    std::filesystem::path programFolder;
    std::string portName;  // looked up at every open: a link may be made while the reader waits
    unsigned baudRate;
    LinkIdentity link{};          // the port's link when the device was last opened
    bool pseudoTerminal = false;  // the device last opened was one
};

// Only a character device that no other program has open: never another program's terminal.
UniqueFd OpenReceiver(Receiver& receiver, OpenFailure& failure) {
    failure = OpenFailure::Open;
    const std::filesystem::path path = DevicePathFor(receiver.programFolder, receiver.portName);
    struct stat device {};
    if (path.empty() || ::stat(path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode) ||
        HeldByAnotherProcess(device.st_rdev))
        return {};
    UniqueFd fd = OpenDevice(path, receiver.baudRate, failure);
    if (fd) {
        receiver.link = LinkIdentityOf(path);
        receiver.pseudoTerminal = IsPseudoTerminal(device.st_rdev);
    }
    return fd;
}

// A pseudo-terminal never comes back: its number is handed to the next program that asks.
// A link made anew (a replay started again) is a new receiver.
bool MayComeBack(const Receiver& receiver) {
    return !receiver.pseudoTerminal ||
           LinkIdentityOf(DevicePathFor(receiver.programFolder, receiver.portName)) != receiver.link;
}

const char* MessageFor(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::Open: return "Unable to open the port";
        case OpenFailure::Configure: return "Unable to configure the serial port";
        case OpenFailure::Timeouts: return "Unable to set the time-out parameters";
        case OpenFailure::None: break;
    }
    return "";
}

// True when the wake-up pipe became readable within the time (-1: no limit).
bool Woken(int wakeFd, int timeoutMs) {
    pollfd wake{wakeFd, POLLIN, 0};
    return ::poll(&wake, 1, timeoutMs) > 0;
}

enum class Wait { Data, Dead, Stop };

Wait WaitForDevice(int fd, int wakeFd) {
    std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}}};
    int ready;
    while ((ready = ::poll(fds.data(), fds.size(), -1)) < 0 && errno == EINTR) {
        // a signal is no hang-up: wait again
    }
    if (ready < 0) return Wait::Dead;
    if (fds[1].revents != 0) return Wait::Stop;
    if (fds[0].revents & POLLIN) return Wait::Data;
    return fds[0].revents & (POLLHUP | POLLERR | POLLNVAL) ? Wait::Dead : Wait::Data;
}

// Hands everything waiting to FeedByte; false when the device is gone.
bool ReadWaiting(AppState& state, int fd) {
    std::array<unsigned char, 4096> bytes;
    const ssize_t count = ::read(fd, bytes.data(), bytes.size());
    if (count < 0) return errno == EAGAIN || errno == EINTR;
    if (count == 0) return false;  // woken for input yet nothing came: the line hung up
    for (ssize_t i = 0; i < count; ++i) FeedByte(state.nmea, bytes[static_cast<std::size_t>(i)]);
    int modemStatus = 0;
    ::ioctl(fd, TIOCMGET, &modemStatus);
    return true;
}

// Once a second, without a message, until the receiver is back or the reader is stopped.
void Reconnect(AppState& state, Receiver& receiver, int wakeFd) {
    while (!Woken(wakeFd, kReconnectIntervalMs)) {
        if (!MayComeBack(receiver)) continue;
        OpenFailure failure;
        UniqueFd fd = OpenReceiver(receiver, failure);
        if (!fd) continue;
        int expected = kReconnecting;
        if (state.portHandle.compare_exchange_strong(expected, fd.get())) fd.release();
        return;
    }
}

void ReaderLoop(AppState& state, Receiver receiver, int wakeFd) {
    for (;;) {
        int fd = state.portHandle.load();
        if (fd == kInvalidPortHandle) return;
        if (fd == kReconnecting) {
            Reconnect(state, receiver, wakeFd);
            continue;
        }
        const Wait wait = WaitForDevice(fd, wakeFd);
        if (wait == Wait::Stop) return;
        if (wait == Wait::Data && ReadWaiting(state, fd)) continue;
        if (state.portHandle.compare_exchange_strong(fd, kReconnecting)) ::close(fd);
    }
}

}  // namespace

std::filesystem::path DevicePathFor(const std::filesystem::path& programFolder, std::string_view portName) {
    static constexpr std::array<const char*, 8> kDevices = {"/dev/ttyS0",   "/dev/ttyUSB0", "/dev/ttyACM0",
                                                            "/dev/ttyUSB1", "/dev/ttyACM1", "/dev/rfcomm0",
                                                            "/dev/serial0", "/dev/gps0"};
    if (portName.size() != 5 || portName.substr(0, 3) != "COM" || portName[4] != ':' || portName[3] < '1' ||
        portName[3] > '8')
        return {};
    const std::filesystem::path link = programFolder / portName.substr(0, 4);
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ignored))) return link;
    return kDevices[static_cast<std::size_t>(portName[3] - '1')];
}

PosixSerialPort::PosixSerialPort(MessageSink& messages, std::filesystem::path programFolder)
    : messages_(messages), programFolder_(std::move(programFolder)) {}

PosixSerialPort::~PosixSerialPort() {
    if (readerState_) ClosePort(*readerState_);
}

bool PosixSerialPort::OpenPort(AppState& state, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) {
    ClosePort(state);
    Receiver receiver{programFolder_, std::string(portName), baudRate};
    OpenFailure failure = OpenFailure::Open;
    UniqueFd fd = OpenReceiver(receiver, failure);
    if (!fd) {
        messages_.ShowMessage("Error", MessageFor(failure));
        if (whenAbsent == WhenAbsent::GiveUp || DevicePathFor(programFolder_, portName).empty()) return false;
    }
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        messages_.ShowMessage("Error", "Unable to create the read thread");
        return false;
    }
    wakeRead_.reset(pipeEnds[0]);
    wakeWrite_.reset(pipeEnds[1]);
    const bool opened = static_cast<bool>(fd);
    state.portHandle = opened ? fd.release() : kReconnecting;
    try {
        state.readerThread = std::thread(ReaderLoop, std::ref(state), std::move(receiver), wakeRead_.get());
    } catch (const std::system_error&) {
        ClosePort(state);
        messages_.ShowMessage("Error", "Unable to create the read thread");
        return false;
    }
    readerState_ = &state;
    return opened;
}

bool PosixSerialPort::ClosePort(AppState& state) {
    const int fd = state.portHandle.exchange(kInvalidPortHandle);
    if (wakeWrite_) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &wake, 1);
    }
    if (state.readerThread.joinable()) state.readerThread.join();
    wakeRead_.reset();
    wakeWrite_.reset();
    readerState_ = nullptr;
    return fd >= 0 && ::close(fd) == 0;
}

}  // namespace moltrevane
