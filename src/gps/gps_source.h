// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where positions come from, as the rest of the program sees it: a port name opens a serial
// receiver, or gpsd, and a reader hands the receiver's bytes to FeedByte.

#include <array>
#include <string>
#include <string_view>

namespace moltrevane {

struct NmeaBuffer;

inline constexpr unsigned kPortCount = 8;  // "COM1:" … "COM8:"
// The device each port name means without a link of that name in the program's folder.
inline constexpr std::array<std::string_view, kPortCount> kPortDevices = {
    "/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyACM1", "/dev/rfcomm0", "/dev/serial0", "/dev/gps0"};
inline constexpr std::array<unsigned, 8> kSpeedTable = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// "COM1:" … "COM8:" for 0 … 7; empty for any other index.
std::string PortName(int portIndex);

// The speed table's rate, or 4800 baud for an index without an entry.
unsigned BaudRateFor(int speedIndex);

// After the message that the receiver cannot be opened: give up, or (at start-up, for a
// receiver plugged in later) wait for it as after an unplug.
enum class WhenAbsent { GiveUp, Wait };

class GpsSource {
public:
    virtual ~GpsSource() = default;
    // Starts a reader that opens what the port name leads to and reads into nmea, ending an
    // earlier reader first. Returns at once, never waiting on a device, a name server or gpsd:
    // false only when no reader could be started. The rate only matters to a serial device.
    virtual bool OpenPort(NmeaBuffer& nmea, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) = 0;
    // Stops and joins the reader, at once whatever it waits for; false when no receiver was open.
    virtual bool ClosePort() = 0;
    // The message for an open that failed, once it is known, a single time; empty otherwise.
    virtual std::string TakeFailure() = 0;
};

}  // namespace moltrevane
