// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives an announcement through a separate program: espeak-ng speaks (its library is under
// the GPL, so it is never linked), aplay sounds the tone of each kind told. The program runs beside the window;
// one that hangs never holds up the one-second cycle and is ended after a while.

#include <sys/types.h>

#include <chrono>
#include <string>

#include "base/unique_fd.h"
#include "core/alerts.h"

namespace moltrevane {

class AlertPlayer final : public Announcer {
public:
    AlertPlayer() = default;
    ~AlertPlayer();  // ends an announcement still being given
    AlertPlayer(const AlertPlayer&) = delete;
    AlertPlayer& operator=(const AlertPlayer&) = delete;

    // Starts the announcement, spoken or as the sounds of its kinds; false when its program
    // cannot be started.
    bool Start(AlertMode mode, const Announcement& announcement) override;
    // An announcement is still being given. Never waits: a finished program is reaped, one
    // that runs past its time is ended.
    bool Busy() override;

    // espeak-ng is on PATH, so that the settings can say plainly when speech cannot work.
    bool SpeechAvailable() const override;

private:
    void End();
    void Forget();

    // The running program, also as a pidfd: it tells when the program ended even where SIGCHLD
    // is ignored (as some launchers leave it) and the kernel reaped it unasked, and a signal sent
    // through it never reaches another process that got the id since.
    pid_t child_ = -1;
    UniqueFd pidfd_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace moltrevane
