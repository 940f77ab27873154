// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted drive east at 100 km/h past invented stations, with follow at 1 km and speech:
// second by second what the first row shows and what is said, against a checked-in text. The
// list stays in order of distance every second, and an announcement of the nearest names the
// first row's station in the second it is given. Halfway the driver keeps only FM: the list,
// follow and the announcements leave the digital repeaters out from that second on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/spoken_texts.h"
#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

constexpr int kSeconds = 300;
constexpr int kTunnelFrom = 200, kTunnelTo = 215;  // no fix in between
constexpr int kFmOnlyFrom = 150;

// The second's sentence: from 52° 12' N 20° 54' E east at 54 knots (100 km/h), through a tunnel.
std::string Sentence(int second) {
    char time[16], body[128];
    std::snprintf(time, sizeof time, "12%02d%02d.00", second / 60, second % 60);
    if (second >= kTunnelFrom && second < kTunnelTo) {
        std::snprintf(body, sizeof body, "$GNRMC,%s,V,,,,,,,071226,,,N", time);
        return body;
    }
    const double minutes = 20 * 60 + 54.0 + second * 100.0 / 3.6 / (1852.0 * std::cos(52.2 * 3.14159265358979 / 180));
    std::snprintf(body, sizeof body, "$GNRMC,%s,A,5212.0000,N,%03d%08.5f,E,54.0,90.0,071226,,,A", time,
                  static_cast<int>(minutes / 60), std::fmod(minutes, 60));
    return body;
}

class DriveEast : public testing::ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        std::filesystem::remove(folder / "Moltrevane.sqlite");
        testing::WriteDirectory(folder / "Moltrevane.sqlite", testing::StationsOf("drive-east-stations.txt"));  // around Warsaw
        state.portActive = true;
        state.drive = {1, AlertMode::Speech, 6, {}};
    }
    std::string Shown(int id) { return repeaterDialog.utf8[id]; }

    MainScreen main{context, dialog};
    testing::RecordingDialog repeaterDialog;
    RepeaterScreen repeater{context, repeaterDialog};
};

TEST_F(DriveEast, TheListAndTheAnnouncementsAgreeSecondBySecond) {
    context.stationIndex.Refresh();  // read before the drive starts, so that every run lists alike
    ASSERT_TRUE(testing::Eventually([&] { return context.stationIndex.Current() && context.stationIndex.UpToDate(); },
                                    std::chrono::seconds(30)));
    repeater.Initialise();
    std::string drive;
    for (int second = 0; second < kSeconds; ++second) {
        if (second == kFmOnlyFrom) state.shownModes = ModeBit(VoiceMode::Fm);
        const std::size_t said = announcer.started.size();
        Feed(Sentence(second));
        main.RunCycle();
        repeater.OnTimer();
        const ids::RepeaterRowIds& first = ids::kRepeaterRows[0];
        char time[16];
        std::snprintf(time, sizeof time, "12:%02d:%02d ", second / 60, second % 60);
        drive += time + Shown(first.call) + " " + Shown(first.km) + " " + Shown(first.grad) + (repeaterDialog.enabled[first.km] ? "" : " (greyed)") + " |";
        int lastKm = 0;
        for (const ids::RepeaterRowIds& row : ids::kRepeaterRows) {
            drive += " " + Shown(row.call);
            if (Shown(row.call).empty()) continue;  // fewer stations than rows
            EXPECT_LE(lastKm, std::atoi(Shown(row.km).c_str())) << time << "the rows out of their distance's order";
            lastKm = std::atoi(Shown(row.km).c_str());
        }
        for (std::size_t told = said; told < announcer.started.size(); ++told) {
            const std::string& text = announcer.started[told].second.text;
            drive += "\n    said: " + text;
            EXPECT_TRUE(text.find("Nearest") == std::string::npos || text.find("Nearest " + SpokenCall(Shown(first.call)) + ",") != std::string::npos)
                << time << "the first row is " << Shown(first.call) << ", the announcement: " << text;
        }
        drive += "\n";
    }
    testing::ExpectShown("drive-east.expected", drive);
}

}  // namespace
}  // namespace moltrevane
