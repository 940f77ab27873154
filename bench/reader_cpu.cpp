// SPDX-License-Identifier: GPL-3.0-or-later
// CPU used by the serial reader thread while a 115200-baud stream of a receiver's whole epochs
// (GGA, GSA, GSV, VTG, RMC) is fed for 10 s, and while the receiver is unplugged for 5 s, as a
// percentage of one core.
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#include "core/app_state.h"
#include "platform/posix/posix_gps_source.h"
#include "pseudo_terminal.h"

namespace {

using namespace std::chrono_literals;


double ThreadSeconds(pthread_t thread) {
    clockid_t clock;
    pthread_getcpuclockid(thread, &clock);
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A sentence with its checksum and line end.
std::string Sentence(std::string_view body) {
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + std::string(body) + tail;
}

// One epoch of a multi-constellation receiver, in the order a u-blox M8 sends it.
std::string Epoch() {
    std::string epoch;
    for (const std::string_view body : {
             "GNGGA,123519.00,4807.03812,N,01131.00012,E,1,12,0.60,520.2,M,47.0,M,,",
             "GNGSA,A,3,05,13,15,18,20,23,24,,,,,,1.05,0.58,0.87,1",
             "GPGSV,3,1,11,05,45,123,38,13,67,245,42,15,12,310,30,18,33,058,35",
             "GPGSV,3,2,11,20,22,190,33,23,08,020,,24,51,280,40,25,05,150,",
             "GPGSV,3,3,11,29,18,095,28,30,40,330,36,31,02,210,",
             "GNVTG,,T,,M,0.021,N,0.039,K,A",
             "GNRMC,123519.00,A,4807.03812,N,01131.00012,E,0.021,,230394,,,A,V",
         })
        epoch += Sentence(body);
    return epoch;
}

}  // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / ("moltrevane-cpu-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    moltrevane::tools::PseudoTerminal receiver;
    receiver.LinkAs(folder, "COM2");

    moltrevane::AppState state;
    moltrevane::PosixGpsSource port(folder);
    if (!port.OpenPort(state.nmea, "COM2:", 115200, moltrevane::WhenAbsent::GiveUp)) return 1;

    std::string stream;  // 115.2 bytes every 10 ms is 11520 bytes/s: epochs as fast as the line carries them
    while (stream.size() < 1000 * 115) stream += Epoch();

    const double fedStart = ThreadSeconds(port.ReaderThread());
    const auto start = std::chrono::steady_clock::now();
    auto next = start;
    std::size_t sent = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        const ssize_t written = write(receiver.master(), stream.data() + sent, 115);
        if (written > 0) sent += static_cast<std::size_t>(written);
        if (tick % 100 == 0) moltrevane::TakeSentence(state.nmea);
        next += 10ms;
        std::this_thread::sleep_until(next);
    }
    const double fedWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double fedCpu = ThreadSeconds(port.ReaderThread()) - fedStart;

    receiver.Unplug();
    std::this_thread::sleep_for(200ms);
    const double unpluggedStart = ThreadSeconds(port.ReaderThread());
    std::this_thread::sleep_for(5s);
    const double unpluggedCpu = ThreadSeconds(port.ReaderThread()) - unpluggedStart;

    port.ClosePort();
    std::filesystem::remove_all(folder);
    std::printf("fed %zu bytes in %.2f s (%.0f B/s): reader CPU %.4f s = %.3f %% of one core\n", sent, fedWall,
                static_cast<double>(sent) / fedWall, fedCpu, 100 * fedCpu / fedWall);
    std::printf("unplugged 5 s: reader CPU %.6f s = %.4f %% of one core\n", unpluggedCpu, 100 * unpluggedCpu / 5);
    return 0;
}
