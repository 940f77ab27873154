// CPU used by the serial reader thread while a 115200-baud stream is fed for 10 s, and while
// the receiver is unplugged for 5 s, as a percentage of one core.
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "core/app_state.h"
#include "platform/posix_gps_source.h"
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

}  // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / ("moltrevane-cpu-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    moltrevane::tools::PseudoTerminal receiver;
    receiver.LinkAs(folder, "COM2");

    moltrevane::AppState state;
    moltrevane::PosixGpsSource port(folder);
    if (!port.OpenPort(state.nmea, "COM2:", 115200, moltrevane::WhenAbsent::GiveUp)) return 1;

    const std::string line = "$GNRMC,123519.00,A,4807.03812,N,01131.00012,E,0.021,,230394,,,A*6D\r\n";
    std::string tenMilliseconds;  // 115.2 bytes every 10 ms is 11520 bytes/s
    while (tenMilliseconds.size() < 115) tenMilliseconds += line;
    tenMilliseconds.resize(115);

    const double fedStart = ThreadSeconds(port.ReaderThread());
    const auto start = std::chrono::steady_clock::now();
    auto next = start;
    std::size_t sent = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        sent += static_cast<std::size_t>(write(receiver.master(), tenMilliseconds.data(), tenMilliseconds.size()));
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
