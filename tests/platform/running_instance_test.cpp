// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/running_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "other_process.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;

constexpr uid_t kNobody = 65534;

// The child becomes the user nobody (the tests run as root).
bool Nobody() { return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0; }

TEST(RunningInstance, ALaterStartOfTheSameUserAsksAndEndsEvenWhenTheFirstHangs) {
    testing::TempFolder folder;
    const RunningInstance first(folder.path());
    ASSERT_TRUE(first.First());
    EXPECT_FALSE(first.AskedToComeForward());  // nobody asked yet
    // First never accepts: its queue fills, and every later start must still end.
    auto later = std::async(std::launch::async, [&] {
        int asked = 0;
        for (int i = 0; i < 7; ++i) asked += RunningInstance(folder.path()).First() ? 0 : 1;
        return asked;
    });
    ASSERT_EQ(later.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(later.get(), 7);
    EXPECT_TRUE(first.AskedToComeForward());
}

TEST(RunningInstance, AnotherUserCanNeitherKeepItFromStartingNorRaiseIt) {
    testing::TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);  // a home folder others may write
    const testing::OtherProcess squatter([&] { return Nobody() && (new RunningInstance(folder.path()))->First(); });  // kept till killed
    ASSERT_TRUE(squatter.worked);
    EXPECT_TRUE(RunningInstance(folder.path()).First());

    testing::TempFolder own;
    ::chmod(own.path().c_str(), 0755);
    const RunningInstance running(own.path());
    ASSERT_TRUE(running.First());
    ::chmod((own / ".Moltrevane.socket").c_str(), 0777);  // even where the socket lets others in
    const testing::OtherProcess asker([&] {
        if (!Nobody()) return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = (own / ".Moltrevane.socket").string();
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    });
    ASSERT_TRUE(asker.worked);
    EXPECT_FALSE(running.AskedToComeForward());
}

}  // namespace
}  // namespace moltrevane
