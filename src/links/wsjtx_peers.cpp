// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/wsjtx_peers.h"

#include <algorithm>

#include "links/wsjtx_protocol.h"

namespace moltrevane {
namespace {

// WSJT-X keeps the grid as it was typed; a grid it took from us is ours in any letter case.
bool SameGrid(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return (x & ~0x20) == (y & ~0x20); });
}

enum class Mood { Confirmed, Waiting, NotAccepting };  // the worst one is shown

}  // namespace

std::vector<Datagram> WsjtxPeers::Receive(std::span<const unsigned char> bytes, const Endpoint& from, SteadyTime now) {
    ForgetSilent(now);
    const std::optional<WsjtxMessage> message = ReadWsjtxDatagram(bytes);
    if (!message) return {};
    if (message->type == WsjtxType::Close) {
        std::erase_if(instances_, [&](const Instance& i) { return i.id == message->id && i.source == from; });
        return {};
    }
    bool isNew = false;
    Instance& instance = Learn(message->id, from, now, isNew);
    if (message->type == WsjtxType::Heartbeat) instance.maxSchema = message->maxSchema;
    if (isNew && message->type == WsjtxType::Status) instance.maxSchema = message->schema;
    if (message->deGrid) instance.deGrid = *message->deGrid;
    std::vector<Datagram> answers;
    if (isNew)
        if (auto location = LocationFor(instance, now)) answers.push_back(std::move(*location));
    return answers;
}

std::vector<Datagram> WsjtxPeers::SetLocator(const std::optional<LocatorText>& locator, SteadyTime now) {
    ForgetSilent(now);
    if (locator == locator_) return {};
    locator_ = locator;
    std::vector<Datagram> sends;
    for (Instance& instance : instances_) {
        if (auto location = LocationFor(instance, now)) sends.push_back(std::move(*location));
    }
    return sends;
}

std::string WsjtxPeers::StateLine(SteadyTime now) const {
    const auto heard = [&](const Instance& i) { return now - i.lastHeard < kWsjtxGone; };
    if (std::none_of(instances_.begin(), instances_.end(), heard)) return "WSJT-X: not heard";
    if (!locator_) return "WSJT-X: no position";
    const std::string_view locator = LocatorView(*locator_);
    Mood worst = Mood::Confirmed;
    for (const Instance& i : instances_) {
        if (!heard(i)) continue;
        const Mood mood = SameGrid(i.deGrid, locator) ? Mood::Confirmed
                          : now - i.sentAt < kWsjtxConfirmTime ? Mood::Waiting
                                                               : Mood::NotAccepting;
        worst = std::max(worst, mood);
    }
    switch (worst) {
        case Mood::Confirmed: return "WSJT-X: " + std::string(locator) + " confirmed";
        case Mood::Waiting: return "WSJT-X: " + std::string(locator) + " sent";
        case Mood::NotAccepting: break;
    }
    return "WSJT-X: not accepting: tick Accept UDP requests and AutoGrid";
}

// A known Id from another port is the instance started anew: it has lost what it was given.
WsjtxPeers::Instance& WsjtxPeers::Learn(const std::string& id, const Endpoint& from, SteadyTime now, bool& isNew) {
    auto found = std::find_if(instances_.begin(), instances_.end(), [&](const Instance& i) { return i.id == id; });
    if (found == instances_.end()) {
        if (instances_.size() >= kWsjtxMostInstances)
            instances_.erase(std::min_element(instances_.begin(), instances_.end(),
                                              [](const Instance& a, const Instance& b) { return a.lastHeard < b.lastHeard; }));
        instances_.push_back(Instance{id, from, 2, now, now, {}});
        found = instances_.end() - 1;
        isNew = true;
    } else if (found->source != from) {
        *found = Instance{id, from, 2, now, now, {}};
        isNew = true;
    }
    found->lastHeard = now;
    return *found;
}

std::optional<Datagram> WsjtxPeers::LocationFor(Instance& instance, SteadyTime now) {
    if (!locator_) return std::nullopt;
    instance.sentAt = now;
    const std::uint32_t schema = std::clamp(instance.maxSchema, 1u, kWsjtxNewestSchema);
    return Datagram{instance.source, LocationDatagram(schema, instance.id, LocatorView(*locator_))};
}

void WsjtxPeers::ForgetSilent(SteadyTime now) {
    std::erase_if(instances_, [&](const Instance& i) { return now - i.lastHeard >= kWsjtxGone; });
}

}  // namespace moltrevane
