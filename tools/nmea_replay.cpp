// SPDX-License-Identifier: GPL-3.0-or-later
// nmea-replay: plays an NMEA log into a pseudo-terminal linked as COMn in the program folder,
// so the program sees a receiver. Each RMC sentence starts a new second of the log.
//
//   nmea-replay [--port COM2] [--speed 1] [--folder DIR] [--unplug-every SECONDS] [LOG]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "pseudo_terminal.h"

namespace {

namespace fs = std::filesystem;
volatile std::sig_atomic_t stopRequested = 0;

struct Options {
    std::string port = "COM2";
    double speed = 1.0;
    fs::path folder;
    fs::path log = "data/sample-track.nmea";
    double unplugEvery = 0;  // seconds of real time; 0 = never
};

[[noreturn]] void Usage(const char* message) {
    std::fprintf(stderr, "nmea-replay: %s\nusage: nmea-replay [--port COMn] [--speed FACTOR] [--folder DIR] "
                         "[--unplug-every SECONDS] [LOG]\n", message);
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    const char* home = std::getenv("HOME");
    o.folder = fs::path(home ? home : ".") / "Programme/Moltrevane";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(("missing value for " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--port") o.port = value();
        else if (arg == "--speed") o.speed = std::atof(value().c_str());
        else if (arg == "--folder") o.folder = value();
        else if (arg == "--unplug-every") o.unplugEvery = std::atof(value().c_str());
        else if (!arg.empty() && arg[0] == '-') Usage(("unknown option " + arg).c_str());
        else o.log = arg;
    }
    if (o.port.size() != 4 || o.port.compare(0, 3, "COM") != 0 || o.port[3] < '1' || o.port[3] > '8')
        Usage("the port is COM1 … COM8");
    if (!(o.speed > 0)) Usage("the speed factor must be positive");
    return o;
}

// The log cut into seconds: each RMC sentence begins one.
std::vector<std::string> ReadSeconds(const fs::path& log) {
    std::ifstream in(log, std::ios::binary);
    if (!in) Usage(("cannot read " + log.string()).c_str());
    std::vector<std::string> seconds;
    for (std::string line; std::getline(in, line);) {
        if (seconds.empty() || (line.size() > 6 && line.compare(3, 3, "RMC") == 0)) seconds.emplace_back();
        seconds.back() += line + "\n";
    }
    if (seconds.empty()) Usage("the log is empty");
    return seconds;
}

// The pseudo-terminal and the COMn link to its slave, which this tool made and removes.
class Receiver {
public:
    explicit Receiver(fs::path link) : link_(std::move(link)) { Plug(); }
    ~Receiver() { Unlink(); }

    void Plug() {
        Unlink();
        try {
            terminal_.emplace();
        } catch (const std::runtime_error&) {
            Usage("cannot create a pseudo-terminal");
        }
        ::fcntl(terminal_->master(), F_SETFL, O_NONBLOCK);
        std::error_code error;
        if (fs::exists(fs::symlink_status(link_))) Usage((link_.string() + " exists and is not ours").c_str());
        fs::create_symlink(terminal_->slavePath(), link_, error);
        if (error) Usage(("cannot create " + link_.string()).c_str());
    }
    void Unplug() { terminal_->Unplug(); }

    // Whatever the program does not take in time is dropped, as a real line would.
    void Send(const std::string& bytes) const {
        [[maybe_unused]] const ssize_t ignored = ::write(terminal_->master(), bytes.data(), bytes.size());
    }

private:
    void Unlink() const {
        std::error_code error;
        if (terminal_ && fs::read_symlink(link_, error) == terminal_->slavePath()) fs::remove(link_, error);
    }
    fs::path link_;
    std::optional<moltrevane::tools::PseudoTerminal> terminal_;
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    const std::vector<std::string> seconds = ReadSeconds(options.log);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, [](int) { stopRequested = 1; });
    std::error_code ignored;
    fs::create_directories(options.folder, ignored);
    Receiver receiver(options.folder / options.port);
    std::printf("nmea-replay: %s -> playing %s at %gx\n", (options.folder / options.port).c_str(),
                options.log.c_str(), options.speed);
    std::fflush(stdout);

    const auto period = std::chrono::duration<double>(1.0 / options.speed);
    auto next = std::chrono::steady_clock::now();
    auto nextUnplug = next + std::chrono::duration<double>(options.unplugEvery);
    for (std::size_t i = 0; !stopRequested; i = (i + 1) % seconds.size()) {
        receiver.Send(seconds[i]);
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
        std::this_thread::sleep_until(next);
        if (options.unplugEvery > 0 && std::chrono::steady_clock::now() >= nextUnplug) {
            receiver.Unplug();
            std::this_thread::sleep_for(std::chrono::seconds(2));
            receiver.Plug();
            nextUnplug += std::chrono::duration<double>(options.unplugEvery);
            next = std::chrono::steady_clock::now();
        }
    }
    return 0;
}
