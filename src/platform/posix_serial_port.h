#pragma once
// The serial link on Linux: termios, an exclusive device, and a reader thread that waits
// with poll on the device and a wake-up pipe.

#include <filesystem>
#include <string_view>

#include "gps/serial_port.h"
#include "core/messages.h"
#include "core/unique_fd.h"

namespace moltrevane {

// An entry COMn in the program folder (usually a link the user or a tool made) names the
// device; otherwise the fixed table applies. Empty for a name that is no port.
std::filesystem::path DevicePathFor(const std::filesystem::path& programFolder, std::string_view portName);

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort(MessageSink& messages, std::filesystem::path programFolder);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool OpenPort(AppState& state, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) override;
    bool ClosePort(AppState& state) override;

private:
    MessageSink& messages_;
    std::filesystem::path programFolder_;
    AppState* readerState_ = nullptr;  // the state whose reader runs, for the destructor
    UniqueFd wakeRead_, wakeWrite_;
};

}  // namespace moltrevane
