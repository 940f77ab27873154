// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording stand-ins for the GPS source and the message boxes.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/alerts.h"
#include "core/app_state.h"
#include "links/locator_links.h"
#include "links/radio_link.h"
#include "screens/messages.h"
#include "gps/gps_source.h"

namespace moltrevane::testing {

struct RecordingMessages : MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;  // title, text
    void ShowMessage(std::string_view title, std::string_view text) override {
        shown.emplace_back(title, text);
    }
};

struct RecordingGpsSource : GpsSource {
    struct Open {
        std::string portName;
        unsigned baudRate;
        WhenAbsent whenAbsent;
        bool operator==(const Open&) const = default;
    };
    std::vector<Open> opens;
    int closes = 0;
    std::function<void()> onClose = [] {};
    bool OpenPort(NmeaBuffer&, std::string_view portName, unsigned baudRate, WhenAbsent whenAbsent) override {
        opens.push_back({std::string(portName), baudRate, whenAbsent});
        return true;
    }
    std::string failure;  // handed out once by TakeFailure
    std::string TakeFailure() override { return std::exchange(failure, {}); }
    bool ClosePort() override {
        ++closes;
        onClose();
        return true;
    }
};

struct RecordingAnnouncer : Announcer {
    std::vector<std::pair<AlertMode, Announcement>> started;
    bool busy = false;
    bool speech = true;
    bool Start(AlertMode mode, const Announcement& announcement) override {
        started.emplace_back(mode, announcement);
        return true;
    }
    bool Busy() override { return busy; }
    bool SpeechAvailable() const override { return speech; }
};

struct RecordingLinks : LocatorLinks {
    std::vector<std::pair<LinkSettings, std::optional<LocatorText>>> published;
    LinkStates states{"WSJT-X: off", "JS8Call: off"};
    void Publish(const LinkSettings& settings, const std::optional<LocatorText>& locator) override {
        published.emplace_back(settings, locator);
    }
    LinkStates States() const override { return states; }
};

struct RecordingRadio : RadioLink {
    std::vector<RigSettings> published;
    std::vector<std::pair<std::string, TuneCause>> tuned;  // the calls asked for
    RigState state;
    void Publish(const RigSettings& settings) override { published.push_back(settings); }
    void Tune(const Station& station, TuneCause cause) override {
        tuned.emplace_back(station.call, cause);
        state.busy = station;  // as the real link: on its way from the tap on
    }
    RigState State() const override { return state; }
};

}  // namespace moltrevane::testing
