// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/gps_reader.h"

#include <fcntl.h>
#include <poll.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "gps/nmea.h"

namespace moltrevane {
namespace {

constexpr int kRetryIntervalMs = 1000;
// Input that comes again within this of the last read is let gather (the link's GatherMs); a
// receiver heard once a second is read at once, without a second wake-up for nothing.
constexpr auto kOftenWithin = std::chrono::milliseconds(500);

// True when the wake-up pipe became readable within the time.
bool Woken(int wakeFd, int timeoutMs) {
    pollfd wake{wakeFd, POLLIN, 0};
    return ::poll(&wake, 1, timeoutMs) > 0;
}

enum class Wait { Data, Gone, Stop };

Wait WaitForInput(int fd, int wakeFd) {
    std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}}};
    int ready;
    while ((ready = ::poll(fds.data(), fds.size(), -1)) < 0 && errno == EINTR) {
        // a signal is no hang-up: wait again
    }
    if (ready < 0) return Wait::Gone;
    if (fds[1].revents != 0) return Wait::Stop;
    if (fds[0].revents & POLLIN) return Wait::Data;
    return fds[0].revents & (POLLHUP | POLLERR | POLLNVAL) ? Wait::Gone : Wait::Data;
}

}  // namespace

GpsReader::GpsReader(NmeaBuffer& nmea, OpenLink open, WhenAbsent whenAbsent) : nmea_(nmea) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::system_error(errno, std::generic_category());
    wakeRead_.reset(pipeEnds[0]);
    wakeWrite_.reset(pipeEnds[1]);
    thread_ = std::thread(&GpsReader::Loop, this, std::move(open), whenAbsent);
}

GpsReader::~GpsReader() { Stop(); }

bool GpsReader::Stop() {
    if (!thread_.joinable()) return false;
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &wake, 1);
    thread_.join();
    const bool wasOpen = open_;
    fd_.reset();
    link_.reset();
    open_ = false;
    return wasOpen;
}

std::string GpsReader::TakeFailure() {
    const std::lock_guard lock(failureGuard_);
    return std::exchange(failure_, {});
}

void GpsReader::Loop(OpenLink open, WhenAbsent whenAbsent) {
    Opened opened;
    link_ = open(wakeRead_.get(), opened);
    fd_ = std::move(opened.fd);
    open_ = static_cast<bool>(fd_);
    if (!fd_) {
        if (Woken(wakeRead_.get(), 0)) return;  // stopped while opening: no failure of the receiver's
        gaveUp_ = whenAbsent == WhenAbsent::GiveUp;  // before the message: whoever has it sees this
        {
            const std::lock_guard lock(failureGuard_);
            failure_ = FailureMessage(opened);
        }
        if (gaveUp_) return;
    }
    auto lastRead = std::chrono::steady_clock::time_point();
    for (;;) {
        if (!fd_) {
            if (Woken(wakeRead_.get(), kRetryIntervalMs)) return;
            if (link_->MayComeBack()) fd_ = link_->Open(wakeRead_.get()).fd;
            open_ = static_cast<bool>(fd_);
            continue;
        }
        const Wait wait = WaitForInput(fd_.get(), wakeRead_.get());
        if (wait == Wait::Stop) return;
        if (wait == Wait::Data && ReadWaiting()) {
            const auto now = std::chrono::steady_clock::now();
            const bool often = now - lastRead < kOftenWithin;
            lastRead = now;
            if (often && Woken(wakeRead_.get(), link_->GatherMs())) return;
            continue;
        }
        fd_.reset();
        open_ = false;
    }
}

// Hands everything waiting to the link; false when the receiver is gone.
bool GpsReader::ReadWaiting() {
    std::array<unsigned char, 4096> bytes;
    const ssize_t count = ::read(fd_.get(), bytes.data(), bytes.size());
    if (count < 0) return errno == EAGAIN || errno == EINTR;
    if (count == 0) return false;  // woken for input yet nothing came: the line hung up
    link_->Take(std::span(bytes.data(), static_cast<std::size_t>(count)), nmea_);
    return true;
}

}  // namespace moltrevane
