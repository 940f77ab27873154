// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/js8call_link.h"

#include <nlohmann/json.hpp>

namespace moltrevane {

std::string SetGridLine(std::string_view locator) {
    const nlohmann::json message = {
        {"type", "STATION.SET_GRID"}, {"value", std::string(locator)}, {"params", nlohmann::json::object()}};
    return message.dump() + "\n";
}

std::optional<std::string> GridOfAnswer(std::string_view line) {
    // No exceptions: junk gives a discarded value.
    const nlohmann::json message = nlohmann::json::parse(line, nullptr, false);
    if (!message.is_object()) return std::nullopt;
    const auto type = message.find("type"), value = message.find("value");
    if (type == message.end() || value == message.end() || !value->is_string() || *type != "STATION.GRID")
        return std::nullopt;
    return value->get<std::string>();
}

bool Js8callLink::WantsConnection(SteadyTime now) {
    if (connected_ || (lastAttempt_ && now - *lastAttempt_ < kJs8callRetry)) return false;
    lastAttempt_ = now;
    return true;
}

std::string Js8callLink::Connected(SteadyTime now) {
    connected_ = true;
    line_.clear();
    answeredGrid_.reset();
    sentAt_ = now;
    return locator_ ? SetGridLine(LocatorView(*locator_)) : std::string();
}

void Js8callLink::Disconnected() { connected_ = false; }

bool Js8callLink::Receive(std::span<const char> bytes, SteadyTime now) {
    for (const char c : bytes) {
        if (c == '\n') {
            TakeLine(line_);
            line_.clear();
        } else if (line_ += c; line_.size() > kJs8callLongestLine) {
            line_.clear();
            connected_ = false;
            lastAttempt_ = now;
            return false;
        }
    }
    return true;
}

void Js8callLink::TakeLine(std::string_view line) {
    if (auto grid = GridOfAnswer(line)) answeredGrid_ = std::move(grid);
}

std::string Js8callLink::SetLocator(const std::optional<LocatorText>& locator, SteadyTime now) {
    if (locator == locator_) return {};
    locator_ = locator;
    answeredGrid_.reset();
    sentAt_ = now;
    return connected_ && locator_ ? SetGridLine(LocatorView(*locator_)) : std::string();
}

std::string Js8callLink::StateLine(SteadyTime now) const {
    if (!connected_) return "JS8Call: not running";
    if (!locator_) return "JS8Call: no position";
    const std::string locator(LocatorView(*locator_));
    if (answeredGrid_ == locator) return "JS8Call: " + locator + " confirmed";
    if (!answeredGrid_ && now - sentAt_ < kJs8callConfirmTime) return "JS8Call: " + locator + " sent";
    return "JS8Call: not accepting: allow setting station information from the APIs";
}

}  // namespace moltrevane
