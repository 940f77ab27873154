#include "platform/posix_serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fakes.h"
#include "pty_pair.h"
#include "temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPair;

std::string Line(int sequence) { return "$GPTXT,01,01,02," + std::to_string(sequence) + "\r\n"; }

int SequenceOf(std::string_view line) {
    return std::stoi(std::string(line.substr(line.rfind(',') + 1)));
}

class SerialTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    testing::RecordingMessages messages;
    AppState state;
    PosixSerialPort port{messages, folder.path()};

    // Collects whole lines until `last` arrives or time runs out; fails on a torn line or
    // one out of order.
    std::vector<int> ReceiveUntil(int last, std::chrono::milliseconds limit = 5s) {
        std::vector<int> received;
        std::string pending;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline && (received.empty() || received.back() != last)) {
            pending += TakeAllText(state.nmea);
            // Bytes written before the program configured a fresh pty may have had CR turned into LF.
            for (std::size_t end; (end = pending.find_first_of("\r\n")) != std::string::npos; pending.erase(0, end + 1)) {
                const std::string line = pending.substr(0, end);
                if (line.empty()) continue;
                if (line.rfind("$GPTXT,01,01,02,", 0) != 0 || line.size() < 17) {
                    ADD_FAILURE() << "torn line: " << line;
                    continue;
                }
                const int sequence = SequenceOf(line);
                EXPECT_TRUE(received.empty() || sequence > received.back()) << sequence;
                received.push_back(sequence);
            }
            std::this_thread::sleep_for(1ms);
        }
        return received;
    }
};

TEST_F(SerialTest, OpeningAppliesRaw8N1AtTheChosenRate) {
    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM3");
    ASSERT_TRUE(port.OpenPort(state, "COM3:", 9600));
    EXPECT_TRUE(messages.shown.empty());
    termios tty{};
    ASSERT_EQ(tcgetattr(receiver.master(), &tty), 0);
    EXPECT_EQ(tty.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tty.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(tty.c_cflag & CREAD, 0u);
    EXPECT_EQ(tty.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(tty.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(cfgetispeed(&tty), static_cast<speed_t>(B9600));
    EXPECT_EQ(tty.c_cc[VMIN], 0);
    EXPECT_EQ(tty.c_cc[VTIME], 0);
    EXPECT_TRUE(port.ClosePort(state));
}

TEST_F(SerialTest, MissingOrBusyDeviceCannotBeOpened) {
    std::filesystem::create_symlink(folder / "nothing-here", folder / "COM3");
    EXPECT_FALSE(port.OpenPort(state, "COM3:", 4800));
    EXPECT_EQ(state.portHandle.load(), kInvalidPortHandle);

    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM2");
    ASSERT_TRUE(port.OpenPort(state, "COM2:", 4800));
    AppState other;
    PosixSerialPort second(messages, folder.path());
    EXPECT_FALSE(second.OpenPort(other, "COM2:", 4800));
    EXPECT_EQ(other.portHandle.load(), kInvalidPortHandle);

    using Shown = std::pair<std::string, std::string>;
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"Error", "Unable to open the port"},
                                                  {"Error", "Unable to open the port"}}));
    EXPECT_TRUE(port.ClosePort(state));
}

TEST_F(SerialTest, BytesArriveInOrderAsWholeLines) {
    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM2");
    ASSERT_TRUE(port.OpenPort(state, "COM2:", 115200));
    for (int i = 0; i < 50; ++i) {
        receiver.Write(Line(i));
        std::this_thread::sleep_for(1ms);
    }
    const std::vector<int> received = ReceiveUntil(49);
    ASSERT_EQ(received.size(), 50u);  // a slow stream loses nothing
    EXPECT_TRUE(port.ClosePort(state));
}

TEST_F(SerialTest, BurstsOf64KiBStayWholeAndInOrder) {
    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM2");
    ASSERT_TRUE(port.OpenPort(state, "COM2:", 115200));
    std::string burst;
    int last = 0;
    while (burst.size() < 64 * 1024) burst += Line(++last);
    std::thread writer([&] { receiver.Write(burst); });
    const std::vector<int> received = ReceiveUntil(last);
    writer.join();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), last);  // lines may be dropped by the text limit, never torn
    EXPECT_TRUE(port.ClosePort(state));
}

TEST_F(SerialTest, UnpluggedReceiverIsReopenedAndFeedsAgain) {
    auto receiver = std::make_unique<PtyPair>();
    receiver->LinkAs(folder.path(), "COM2");
    ASSERT_TRUE(port.OpenPort(state, "COM2:", 4800));
    receiver->Write(Line(1));
    ASSERT_EQ(ReceiveUntil(1), std::vector<int>{1});

    receiver->Unplug();
    std::this_thread::sleep_for(200ms);
    EXPECT_NE(state.portHandle.load(), kInvalidPortHandle);  // still in use, waiting
    receiver = std::make_unique<PtyPair>();
    receiver->LinkAs(folder.path(), "COM2");
    std::vector<int> received;
    for (int attempt = 2; attempt < 40 && received.empty(); ++attempt) {
        receiver->Write(Line(attempt));
        received = ReceiveUntil(attempt, 200ms);
    }
    EXPECT_FALSE(received.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(port.ClosePort(state));
}

TEST_F(SerialTest, ReopeningAndClosingLeakNothing) {
    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM2");
    const auto openDescriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    ASSERT_TRUE(port.OpenPort(state, "COM2:", 4800));
    const auto whileOpen = openDescriptors();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(port.OpenPort(state, "COM2:", 4800));  // ends the earlier reader
    EXPECT_EQ(openDescriptors(), whileOpen);
    EXPECT_TRUE(port.ClosePort(state));
    EXPECT_FALSE(state.readerThread.joinable());
    EXPECT_EQ(state.portHandle.load(), kInvalidPortHandle);
    EXPECT_FALSE(port.ClosePort(state));  // nothing open any more
    EXPECT_LT(openDescriptors(), whileOpen);
}

TEST_F(SerialTest, DestructorStopsTheReader) {
    PtyPair receiver;
    receiver.LinkAs(folder.path(), "COM2");
    AppState own;
    {
        PosixSerialPort scoped(messages, folder.path());
        ASSERT_TRUE(scoped.OpenPort(own, "COM2:", 4800));
    }
    EXPECT_FALSE(own.readerThread.joinable());
}

TEST(DevicePathFor, LinksFirstThenTheFixedTable) {
    testing::TempFolder folder;
    EXPECT_EQ(DevicePathFor(folder.path(), "COM1:"), "/dev/ttyS0");
    EXPECT_EQ(DevicePathFor(folder.path(), "COM3:"), "/dev/ttyACM0");
    EXPECT_EQ(DevicePathFor(folder.path(), "COM8:"), "/dev/gps0");
    std::filesystem::create_symlink("/dev/null-not-there", folder / "COM3");
    EXPECT_EQ(DevicePathFor(folder.path(), "COM3:"), folder / "COM3");
    for (const char* bad : {"COM9:", "COM0:", "COM1", "", "LPT1:", "COM10:"})
        EXPECT_EQ(DevicePathFor(folder.path(), bad), "") << bad;
}

}  // namespace
}  // namespace moltrevane
