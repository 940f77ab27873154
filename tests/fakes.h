#pragma once
// Recording stand-ins for the serial link and the message boxes.

#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/messages.h"
#include "gps/serial_port.h"

namespace moltrevane::testing {

struct RecordingMessages : MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;  // title, text
    void ShowMessage(std::string_view title, std::string_view text) override {
        shown.emplace_back(title, text);
    }
};

struct RecordingSerialPort : SerialPort {
    struct Open {
        std::string portName;
        unsigned baudRate;
        // What the state held when the port was opened, to check the order of loading.
        std::string offlineLocatorThen;
        bool showHfThen;
        WhenAbsent whenAbsent;
        bool operator==(const Open&) const = default;
    };
    std::vector<Open> opens;
    int closes = 0;
    bool OpenPort(AppState& state, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) override {
        opens.push_back({std::string(portName), baudRate, std::string(LocatorView(state.offlineLocator)), state.showHf,
                         whenAbsent});
        return true;
    }
    bool ClosePort(AppState&) override {
        ++closes;
        return true;
    }
};

}  // namespace moltrevane::testing
