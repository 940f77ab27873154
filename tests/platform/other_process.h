// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Another program, for what only another process can be seen doing: holding a terminal,
// running as another user.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace moltrevane::testing {

// A child process that runs `work` and then stays until the object goes; `worked`: the child
// said, within the deadline, that `work` returned true.
struct OtherProcess {
    template <class Work>
    explicit OtherProcess(Work work) {
        int ends[2];
        if (::pipe(ends) != 0) return;
        if ((pid = ::fork()) == 0) {
            const char done = work() ? 1 : 0;
            [[maybe_unused]] const ssize_t ignored = ::write(ends[1], &done, 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ends[1]);
        pollfd said{ends[0], POLLIN, 0};
        char done = 0;
        worked = pid > 0 && ::poll(&said, 1, 10000) == 1 && ::read(ends[0], &done, 1) == 1 && done == 1;
        ::close(ends[0]);
    }
    ~OtherProcess() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
    }
    pid_t pid = -1;
    bool worked = false;
};

}  // namespace moltrevane::testing
