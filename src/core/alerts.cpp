// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/alerts.h"

#include <algorithm>
#include <utility>

#include "core/spoken_texts.h"

namespace moltrevane {
namespace {

bool Has(const std::vector<AlertKind>& kinds, AlertKind kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

}  // namespace

const MeasuredStation* NearestOf(const std::vector<MeasuredStation>& listed) {
    const auto nearest = std::min_element(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.km < b.km; });
    return nearest == listed.end() ? nullptr : &*nearest;
}

const MeasuredStation* NearestWatch::NewNearest(const std::vector<MeasuredStation>& listed) {
    const MeasuredStation* nearest = NearestOf(listed);
    if (!nearest) {
        call_.reset();
        return nullptr;
    }
    const auto old = std::find_if(listed.begin(), listed.end(), [&](const auto& s) { return s.station.call == call_; });
    if (old != listed.end() && (&*old == nearest || nearest->km + 1 > old->km)) return nullptr;
    call_ = nearest->station.call;
    return nearest;
}

std::vector<AlertKind> AlertWatch::Observe(const DrivingSecond& second, const AlertChoices& chosen) {
    // Every kind is watched, told or not, so that one switched on later starts from now.
    const std::optional<AlertKind> fix = FixChanged(second);
    const bool square = SquareChanged(second.square, chosen.squareLength);
    const bool nearest = nearest_.NewNearest(second.listed) != nullptr;
    std::vector<AlertKind> changed;
    if (fix && chosen.fix) changed.push_back(*fix);
    if (square && chosen.squareLength > 0) changed.push_back(AlertKind::Square);
    if (nearest && chosen.nearest) changed.push_back(AlertKind::Nearest);
    return changed;
}

std::optional<Announcement> AlertWatch::Tell(const std::vector<AlertKind>& kinds, const DrivingSecond& second,
                                             const AlertChoices& chosen) {
    Announcement told;
    const auto tell = [&](AlertKind kind, const std::string& text) {
        told.kinds.push_back(kind);
        told.text += (told.text.empty() ? "" : ". ") + text;
    };
    if (Has(kinds, AlertKind::FixLost) && !second.fix) tell(AlertKind::FixLost, "GPS fix lost");
    if (Has(kinds, AlertKind::FixBack) && second.fix) tell(AlertKind::FixBack, "GPS fix back");
    const std::size_t length = static_cast<std::size_t>(std::max(chosen.squareLength, 0));
    if (Has(kinds, AlertKind::Square) && !second.square.empty() && length > 0)
        tell(AlertKind::Square, SpokenSquare(second.square.substr(0, length)));
    const MeasuredStation* nearest = NearestOf(second.listed);
    if (Has(kinds, AlertKind::Nearest) && nearest) {
        nearest_.Watch(nearest->station.call);  // the one the driver heard
        tell(AlertKind::Nearest, SpokenNearest(*nearest, second.headingDeg));
    }
    return told.kinds.empty() ? std::nullopt : std::optional(told);
}

bool AlertWatch::SquareChanged(const std::string& square, int length) {
    if (square.empty()) return false;
    const std::size_t compared = length == 4 ? 4 : square.size();
    const bool changed = !square_.empty() && square.substr(0, compared) != square_.substr(0, compared);
    square_ = square;
    return changed;
}

std::optional<AlertKind> AlertWatch::FixChanged(const DrivingSecond& second) {
    if (!second.gpsMode) {
        lastFix_.reset();
        lostSaid_ = false;
        return std::nullopt;
    }
    if (second.fix) {
        lastFix_ = second.seconds;
        if (!lostSaid_) return std::nullopt;
        lostSaid_ = false;
        return AlertKind::FixBack;
    }
    if (!lastFix_ || lostSaid_ || second.seconds - *lastFix_ < kFixLostSeconds) return std::nullopt;
    lostSaid_ = true;
    return AlertKind::FixLost;
}

void AlertPacer::Offer(std::vector<AlertKind> kinds) {
    if (!kinds.empty()) waiting_ = std::move(kinds);
}

std::optional<std::vector<AlertKind>> AlertPacer::Due(std::int64_t seconds, bool busy) {
    if (!waiting_ || busy || (lastStart_ && seconds - *lastStart_ < kAlertSpacingSeconds)) return std::nullopt;
    lastStart_ = seconds;
    return std::exchange(waiting_, std::nullopt);
}

}  // namespace moltrevane
