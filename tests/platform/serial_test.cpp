// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_gps_source.h"
#include "platform/posix/serial_link.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "core/app_state.h"
#include "other_process.h"
#include "pseudo_terminal.h"
#include "support/eventually.h"
#include "support/temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using PtyPair = tools::PseudoTerminal;
using testing::Eventually;
using testing::FailureOf;

// Port 9 (discard) on the loopback: no gpsd answers there.
const GpsdAddress kNoGpsd{"127.0.0.1", "9"};

std::string Line(int sequence) { return "$GPTXT,01,01,02," + std::to_string(sequence) + "\r\n"; }

// The line settings a pty slave has before any program sets it raw.
bool StillCooked(int master) {
    termios tty{};
    return tcgetattr(master, &tty) == 0 && (tty.c_lflag & ICANON) != 0;
}

// The reader has set a fresh pty raw, to the last of its settings: it holds the device.
bool Taken(const PtyPair& receiver) {
    return Eventually([&] {
        termios tty{};
        return tcgetattr(receiver.master(), &tty) == 0 && (tty.c_lflag & ICANON) == 0 && tty.c_cc[VMIN] == 0;
    });
}

class SerialTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    AppState state;
    PosixGpsSource port{folder.path(), kNoGpsd};

    // Collects whole lines until `last` arrives or time runs out; fails on a torn line or
    // one out of order.
    std::vector<int> ReceiveUntil(int last, std::chrono::milliseconds limit = 5s) {
        std::vector<int> received;
        std::string pending;
        Eventually([&] {
            pending += TakeAllText(state.nmea);
            // Bytes written before the program configured a fresh pty may have had CR turned into LF.
            for (std::size_t end; (end = pending.find_first_of("\r\n")) != std::string::npos; pending.erase(0, end + 1)) {
                const std::string line = pending.substr(0, end);
                if (line.empty()) continue;
                if (line.rfind("$GPTXT,01,01,02,", 0) != 0 || line.size() < 17) {
                    ADD_FAILURE() << "torn line: " << line;
                    continue;
                }
                const int sequence = std::stoi(line.substr(line.rfind(',') + 1));
                EXPECT_TRUE(received.empty() || sequence > received.back()) << sequence;
                received.push_back(sequence);
            }
            return !received.empty() && received.back() == last;
        }, limit);
        return received;
    }

    // A receiver linked as `link` (COM2 or what COM2 leads to), opened as COM2 and taken by the reader.
    void OpenOn(PtyPair& receiver, unsigned rate = 4800, const std::string& link = "COM2") {
        receiver.LinkAs(folder.path(), link);
        ASSERT_TRUE(port.OpenPort(state.nmea, "COM2:", rate, WhenAbsent::GiveUp));
        ASSERT_TRUE(Taken(receiver));
    }

    // Writes a line every 200 ms until one arrives: the reader tries the device once a second.
    bool OneLineArrives(const PtyPair& receiver) {
        for (int attempt = 1; attempt < 40; ++attempt) {
            receiver.Write(Line(attempt));
            if (!ReceiveUntil(attempt, 200ms).empty()) return true;
        }
        return false;
    }
};

TEST_F(SerialTest, EachFailureIsNamedForWhatItIsWhenTheReaderKnowsIt) {
    PtyPair shellWindow;  // another program's terminal, as a shell window has it: never taken
    const testing::OtherProcess shell([&] { return ::close(0) == 0 && ::open(shellWindow.slavePath().c_str(), O_RDWR) == 0; });
    ASSERT_TRUE(shell.worked);
    shellWindow.LinkAs(folder.path(), "COM6");
    PtyPair receiver;
    ASSERT_NO_FATAL_FAILURE(OpenOn(receiver));  // COM2, held by `port`
    const std::string busy = ": busy, held by another program";
    // The port, what its link leads to (none: the pty's own), and what the user is told.
    const std::tuple<std::string, std::filesystem::path, std::string> failures[] = {
        {"COM3", folder / "nothing-here", (folder / "nothing-here").string() + ": no such device"},
        {"COM4", "/dev/zero", "/dev/zero: not a serial device"},
        {"COM5", "COM5", (folder / "COM5").string() + ": Too many levels of symbolic links"},  // a loop: an error without words of ours
        {"COM2", "", receiver.slavePath().string() + busy},
        {"COM6", "", shellWindow.slavePath().string() + busy},
        {"COM7", "gpsd:127.0.0.1:9", "gpsd not answering at 127.0.0.1:9"},
    };
    for (const auto& [name, link, failure] : failures) {
        if (!link.empty()) std::filesystem::create_symlink(link, folder / name);
        AppState other;
        PosixGpsSource second(folder.path(), kNoGpsd);
        EXPECT_TRUE(second.OpenPort(other.nmea, name + ":", 4800, WhenAbsent::GiveUp)) << name;  // returns at once
        EXPECT_EQ(FailureOf(second), "Unable to open the port\n" + failure);
        EXPECT_FALSE(second.Reading()) << name;
        EXPECT_EQ(second.TakeFailure(), "") << name;  // said once
    }
    EXPECT_TRUE(StillCooked(shellWindow.master()));
    EXPECT_TRUE(port.ClosePort());
}

TEST_F(SerialTest, OpenedRaw8N1AtTheChosenRateSlowLinesAndBurstsArriveWholeAndInOrder) {
    PtyPair receiver;
    ASSERT_NO_FATAL_FAILURE(OpenOn(receiver, 115200));
    termios tty{};
    ASSERT_EQ(tcgetattr(receiver.master(), &tty), 0);
    EXPECT_EQ(tty.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CREAD), static_cast<tcflag_t>(CS8 | CREAD));
    EXPECT_EQ((tty.c_iflag & (IXON | IXOFF)) | (tty.c_lflag & (ICANON | ECHO)), 0u);
    EXPECT_EQ(cfgetispeed(&tty), static_cast<speed_t>(B115200));
    EXPECT_EQ(tty.c_cc[VTIME], 0);  // VMIN 0 and ICANON off: Taken
    for (int i = 0; i < 50; ++i) {
        receiver.Write(Line(i));
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(ReceiveUntil(49).size(), 50u);  // a slow stream loses nothing

    std::string burst;
    int last = 49;
    while (burst.size() < 64 * 1024) burst += Line(++last);
    std::vector<int> received;
    {
        const std::jthread writer([&] { receiver.Write(burst); });  // joined before any check
        received = ReceiveUntil(last);
    }
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), last);  // lines may be dropped by the text limit, never torn
    EXPECT_TRUE(port.ClosePort());
}

TEST_F(SerialTest, ASignalKeepsTheDeviceAndAfterAnUnplugAPseudoTerminalComesBackOnlyThroughANewLink) {
    struct sigaction quiet {}, previous {};
    quiet.sa_handler = [](int) {};
    ::sigaction(SIGUSR1, &quiet, &previous);
    // COM2 → alias → pty: the alias can lead elsewhere while COM2 stays the same link.
    PtyPair first;
    std::filesystem::create_symlink(folder / "alias", folder / "COM2");
    ASSERT_NO_FATAL_FAILURE(OpenOn(first, 4800, "alias"));
    for (int i = 0; i < 5; ++i) {  // signals during the reader's wait
        ::pthread_kill(port.ReaderThread(), SIGUSR1);
        std::this_thread::sleep_for(20ms);
    }
    first.Write(Line(1));
    ASSERT_EQ(ReceiveUntil(1), std::vector<int>{1});  // the device was still open
    first.Unplug();

    PtyPair stranger;  // whatever got a pty next: the name now leads to it
    stranger.LinkAs(folder.path(), "alias");
    stranger.Write(Line(2));
    EXPECT_TRUE(ReceiveUntil(2, 2500ms).empty());
    EXPECT_TRUE(StillCooked(stranger.master()));
    EXPECT_TRUE(port.Reading());  // still in use, waiting

    PtyPair replayed;  // a replay started again makes its link anew
    replayed.LinkAs(folder.path(), "COM2");
    EXPECT_TRUE(OneLineArrives(replayed));
    EXPECT_EQ(port.TakeFailure(), "");
    EXPECT_TRUE(port.ClosePort());
    ::sigaction(SIGUSR1, &previous, nullptr);
}

TEST_F(SerialTest, AReceiverMissingAtStartIsTakenWhenItAppearsAndFreedWithItsSourceAndReopeningLeaksNothing) {
    PtyPair receiver;
    AppState own;
    {
        PosixGpsSource scoped(folder.path(), kNoGpsd);
        scoped.OpenPort(own.nmea, "COM2:", 4800, WhenAbsent::Wait);
        EXPECT_NE(FailureOf(scoped), "");  // the message first, then the wait
        EXPECT_TRUE(scoped.Reading());
        receiver.LinkAs(folder.path(), "COM2");
        ASSERT_TRUE(Taken(receiver));
        EXPECT_EQ(scoped.TakeFailure(), "");
    }
    // The reader is gone with its source: the device can be opened again at once.
    ASSERT_TRUE(port.OpenPort(state.nmea, "COM2:", 4800, WhenAbsent::GiveUp));
    EXPECT_TRUE(OneLineArrives(receiver));
    const auto whileOpen = testing::OpenFiles();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(port.OpenPort(state.nmea, "COM2:", 4800, WhenAbsent::GiveUp));  // ends the earlier reader
    EXPECT_TRUE(Eventually([&] { return testing::OpenFiles() == whileOpen; })) << testing::OpenFiles() << " " << whileOpen;
    EXPECT_TRUE(port.ClosePort());
    EXPECT_FALSE(port.Reading());
    EXPECT_FALSE(port.ClosePort());  // nothing open any more
    EXPECT_LT(testing::OpenFiles(), whileOpen);
}

TEST(DevicePathFor, ALinkFirstAndOnlyForPortNames) {
    testing::TempFolder folder;
    EXPECT_EQ(DevicePathFor(folder.path(), "COM8:"), "/dev/gps0");
    std::filesystem::create_symlink("/dev/null-not-there", folder / "COM3");
    EXPECT_EQ(DevicePathFor(folder.path(), "COM3:"), folder / "COM3");
    for (const char* bad : {"COM9:", "COM0:", "COM1", "", "COM10:"}) EXPECT_EQ(DevicePathFor(folder.path(), bad), "") << bad;
}

}  // namespace
}  // namespace moltrevane
