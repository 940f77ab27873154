// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/alert_player.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <set>

#include "support/eventually.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

// A folder of stand-ins as the whole PATH for the test's length: the machine's own espeak-ng
// stays out of reach. The stand-ins name the programs they run in full.
class StandIns {
public:
    StandIns() : oldPath_(std::getenv("PATH")) { ::setenv("PATH", folder_.path().c_str(), 1); }
    ~StandIns() { ::setenv("PATH", oldPath_.c_str(), 1); }
    void Add(const std::string& name, const std::string& script) {
        testing::WriteFile(folder_ / name, "#!/bin/sh\n" + script + "\n");
        ::chmod((folder_ / name).c_str(), 0755);
    }
    std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }

private:
    testing::TempFolder folder_;
    std::string oldPath_;
};

TEST(AlertPlayer, SpeaksThroughEspeakNgAndSoundsTheToneThroughAplayOneAnnouncementAfterAnother) {
    StandIns path;
    path.Add("espeak-ng", "for a; do printf '%s|' \"$a\"; done >> " + (path / "said").string() + "; echo >> " + (path / "said").string());
    path.Add("aplay", "/bin/cat > " + (path / "tone").string());
    EXPECT_TRUE(AlertPlayer().SpeechAvailable());
    AlertPlayer player;
    ASSERT_TRUE(player.Start(AlertMode::Speech, {{AlertKind::Square}, "Now in Juliet Oscar Six Two"}));
    EXPECT_TRUE(testing::Eventually([&] { return !player.Busy(); }, std::chrono::seconds(20)));
    EXPECT_EQ(testing::ReadFile(path / "said"), "-s|160|Now in Juliet Oscar Six Two|\n");
    // Each kind its own sound, and an announcement of several kinds their sounds one by one.
    const auto sounded = [&](std::vector<AlertKind> kinds) {
        EXPECT_TRUE(player.Start(AlertMode::Tone, {std::move(kinds), "not spoken"}));
        EXPECT_TRUE(testing::Eventually([&] { return !player.Busy(); }, std::chrono::seconds(20)));
        return testing::ReadFile(path / "tone");
    };
    const std::string nearest = sounded({AlertKind::Nearest}), square = sounded({AlertKind::Square}),
                      lost = sounded({AlertKind::FixLost}), back = sounded({AlertKind::FixBack});
    EXPECT_EQ(square.size(), 720u);  // a beep of 90 ms at 8000 samples a second
    EXPECT_EQ(nearest.size(), 1680u);  // two, 30 ms apart
    EXPECT_EQ(std::set<std::string>({nearest, square, lost, back}).size(), 4u);
    EXPECT_EQ(sounded({AlertKind::FixBack, AlertKind::Nearest}), back + std::string(960, '\x80') + nearest);

    // Started with SIGCHLD ignored, as some launchers leave it: the kernel reaps each ended program,
    // and the next announcement still comes at once, not when the first would have timed out.
    struct sigaction ignored {}, before {};
    ignored.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGCHLD, &ignored, &before), 0);
    for (const char* text : {"one", "two", "three"}) {
        EXPECT_TRUE(player.Start(AlertMode::Speech, {{AlertKind::Square}, text}));
        EXPECT_TRUE(testing::Eventually([&] { return !player.Busy(); }, std::chrono::seconds(10))) << text;
    }
    ::sigaction(SIGCHLD, &before, nullptr);
    EXPECT_EQ(testing::ReadFile(path / "said"), "-s|160|Now in Juliet Oscar Six Two|\n-s|160|one|\n-s|160|two|\n-s|160|three|\n");
}

TEST(AlertPlayer, AHangingSpeakerHoldsNothingUpAndAMissingOneIsSaid) {
    StandIns path;
    path.Add("espeak-ng", "exec /bin/sleep 30");
    const auto begin = std::chrono::steady_clock::now();
    {
        AlertPlayer player;
        ASSERT_TRUE(player.Start(AlertMode::Speech, {{AlertKind::Nearest}, "Nearest Delta Bravo Zero Alpha"}));
        EXPECT_TRUE(player.Busy());
        EXPECT_FALSE(player.Start(AlertMode::Speech, {{AlertKind::Square}, "one at a time"}));
    }  // ended with the player
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(15)) << "waited for the stand-in's sleep";

    std::filesystem::remove(path / "espeak-ng");
    EXPECT_FALSE(AlertPlayer().SpeechAvailable());
    AlertPlayer player;
    EXPECT_FALSE(player.Start(AlertMode::Speech, {{AlertKind::Nearest}, "nobody speaks"}));
    EXPECT_FALSE(player.Busy());
}

}  // namespace
}  // namespace moltrevane
