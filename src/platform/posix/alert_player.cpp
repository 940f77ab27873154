// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/alert_player.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "base/unique_fd.h"

extern "C" {  // glibc 2.36's header declares them without C linkage
#include <sys/pidfd.h>
}

extern char** environ;

namespace moltrevane {
namespace {

// Longer than any announcement takes; a program still running then hangs.
constexpr std::chrono::seconds kLongestAnnouncement{20};

constexpr int kToneRate = 8000;  // samples a second, unsigned 8-bit
constexpr double kPi = 3.14159265358979;

// A short sound of its own for each kind, so that the driver tells them apart unseen: a new
// nearest rises in two quick beeps, a new square is one middle beep, a lost fix falls low and
// a fix back rises from low. Pitches in Hz, each beep 90 ms with 30 ms between beeps.
struct Sound {
    AlertKind kind;
    std::array<int, 2> pitches;  // 0: no second beep
};
constexpr std::array<Sound, 4> kSounds = {{
    {AlertKind::FixLost, {660, 440}},
    {AlertKind::FixBack, {440, 660}},
    {AlertKind::Square, {660, 0}},
    {AlertKind::Nearest, {880, 1175}},
}};
constexpr int kBeepSamples = kToneRate * 90 / 1000, kGapSamples = kToneRate * 30 / 1000;
constexpr int kBetweenKinds = kToneRate * 120 / 1000;

// A beep faded in and out, so that it does not click.
void AppendBeep(std::string& samples, int hz) {
    for (int i = 0; i < kBeepSamples; ++i) {
        const double t = static_cast<double>(i) / kToneRate;
        const double fade = std::sin(kPi * i / kBeepSamples);
        samples += static_cast<char>(128 + std::lround(80 * fade * std::sin(2 * kPi * hz * t)));
    }
}

// The sounds of the kinds told, one after the other.
std::string ToneSamples(const std::vector<AlertKind>& kinds) {
    std::string samples;
    for (const AlertKind kind : kinds) {
        if (!samples.empty()) samples.append(kBetweenKinds, static_cast<char>(128));
        const auto sound = std::find_if(kSounds.begin(), kSounds.end(), [&](const Sound& s) { return s.kind == kind; });
        if (sound == kSounds.end()) continue;
        for (std::size_t beep = 0; beep < sound->pitches.size() && sound->pitches[beep] > 0; ++beep) {
            if (beep > 0) samples.append(kGapSamples, static_cast<char>(128));
            AppendBeep(samples, sound->pitches[beep]);
        }
    }
    return samples;
}

// The program, its input (or /dev/null), its output and errors to /dev/null.
pid_t Spawn(const std::vector<std::string>& arguments, int input) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = -1;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

// A program of that name can be run from PATH. Asked before starting one: a spawn reports a
// missing program only through its child's exit where fork stands in for it (under Valgrind).
bool OnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::filesystem::path program = std::filesystem::path(folders.substr(0, colon)) / name;
        if (::access(program.c_str(), X_OK) == 0) return true;
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    }
    return false;
}

}  // namespace

AlertPlayer::~AlertPlayer() { End(); }

bool AlertPlayer::Start(AlertMode mode, const Announcement& announcement) {
    if (mode == AlertMode::Off || Busy() || !OnPath(mode == AlertMode::Speech ? "espeak-ng" : "aplay")) return false;
    if (mode == AlertMode::Speech) {
        child_ = Spawn({"espeak-ng", "-s", "160", announcement.text}, -1);
    } else {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return false;
        const UniqueFd read(ends[0]), write(ends[1]);
        child_ = Spawn({"aplay", "-q", "-t", "raw", "-f", "U8", "-c", "1", "-r", std::to_string(kToneRate), "-"}, read.get());
        // Far less than a pipe holds: written at once, whether or not aplay ever reads it.
        ::fcntl(write.get(), F_SETFL, O_NONBLOCK);
        const std::string samples = ToneSamples(announcement.kinds);
        if (child_ > 0 && ::write(write.get(), samples.data(), samples.size()) < 0) std::perror("moltrevane: tone");
    }
    if (child_ <= 0) return false;
    pidfd_ = UniqueFd(::pidfd_open(child_, 0));
    if (!pidfd_ && errno == ESRCH) Forget();  // ended and reaped already (SIGCHLD ignored)
    started_ = std::chrono::steady_clock::now();
    return true;
}

bool AlertPlayer::Busy() {
    if (child_ <= 0) return false;
    pollfd ended{pidfd_.get(), POLLIN, 0};
    // Without a pidfd (a kernel or Valgrind that has none) the child is asked for directly.
    if (pidfd_ ? ::poll(&ended, 1, 0) > 0 : ::waitpid(child_, nullptr, WNOHANG) != 0) {
        Forget();
        return false;
    }
    if (std::chrono::steady_clock::now() - started_ < kLongestAnnouncement) return true;
    End();
    return false;
}

void AlertPlayer::End() {
    if (child_ <= 0) return;
    if (::pidfd_send_signal(pidfd_.get(), SIGKILL, nullptr, 0) == 0) {
        pollfd ended{pidfd_.get(), POLLIN, 0};
        ::poll(&ended, 1, -1);  // at once: the program is killed
    } else if (!pidfd_ || errno == ENOSYS) {  // without a pidfd: the child is not reaped yet
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    Forget();
}

// Reaps the ended program unless the kernel did (ECHILD then).
void AlertPlayer::Forget() {
    ::waitpid(child_, nullptr, WNOHANG);
    child_ = -1;
    pidfd_.reset();
}

bool AlertPlayer::SpeechAvailable() const { return OnPath("espeak-ng"); }

}  // namespace moltrevane
