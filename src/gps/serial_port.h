#pragma once
// The serial link as the rest of the program sees it; the platform provides it.

#include <array>
#include <string>
#include <string_view>

namespace moltrevane {

struct AppState;

inline constexpr unsigned kPortCount = 8;  // "COM1:" … "COM8:"
inline constexpr std::array<unsigned, 8> kSpeedTable = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// "COM1:" … "COM8:" for 0 … 7; empty for any other index.
std::string PortName(int portIndex);

// The speed table's rate, or 4800 baud for an index without an entry.
unsigned BaudRateFor(int speedIndex);

// After the message that the device cannot be opened: give up, or (at start-up, for a
// receiver plugged in later) wait for it as after an unplug.
enum class WhenAbsent { GiveUp, Wait };

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens, configures and starts reading into state.nmea; an earlier reader is ended first.
    virtual bool OpenPort(AppState& state, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) = 0;
    // Stops and joins the reader, then closes the device; false when nothing was open.
    virtual bool ClosePort(AppState& state) = 0;
};

}  // namespace moltrevane
