// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/rig_link.h"

#include <algorithm>
#include <utility>

namespace moltrevane {
namespace {

bool CannotTell(const std::optional<RigAnswer>& answer) {
    return !answer || answer->code == kRigNotAvailable || answer->code == kRigNotImplemented;
}

}  // namespace

bool RigLink::WantsConnection(SteadyTime now) {
    if (connected_ || (lastAttempt_ && now - *lastAttempt_ < kRigRetry)) return false;
    lastAttempt_ = now;
    return true;
}

std::string RigLink::Connected(SteadyTime now) {
    connected_ = true;
    reader_.Clear();
    line_ = "Radio: ready";
    return Start(now);
}

// Whatever was under way is not reported as set. The nearest that follow wants is wanted again
// once rigctld is back; a tap while it is away is not kept for later.
void RigLink::Disconnected(std::string line) {
    connected_ = false;
    if (!waiting_ || waiting_->cause != TuneCause::Follow) waiting_ = job_;
    if (waiting_ && waiting_->cause != TuneCause::Follow) waiting_.reset();
    job_.reset();
    plan_.reset();
    phase_ = Phase::Idle;
    deadline_.reset();
    reader_.Clear();
    line_ = std::move(line);
}

std::string RigLink::Tune(const Station& station, TuneCause cause, SteadyTime now) {
    if (!connected_ && cause == TuneCause::Tap) return {};
    waiting_ = Job{station, cause};  // the newest wish replaces one not yet begun
    if (!connected_) return {};
    return phase_ == Phase::Idle ? Start(now) : std::string();
}

std::string RigLink::Receive(std::span<const char> bytes, SteadyTime now) {
    reader_.Receive(bytes);
    std::string lines;
    while (const std::optional<RigAnswer> answer = reader_.Take()) {
        // A late answer to a command given up on is no answer to the one awaited now.
        if (!deadline_ || phase_ == Phase::PttWait) continue;
        if (!answer->command.empty() && answer->command != CommandOf(awaited_)) continue;
        lines += Answered(answer, now);
    }
    return lines;
}

std::string RigLink::Tick(SteadyTime now) {
    if (!deadline_ || now < *deadline_) return {};
    if (phase_ != Phase::PttWait) return Answered(std::nullopt, now);
    deadline_.reset();
    if (waiting_) job_ = std::exchange(waiting_, std::nullopt);
    return Begin(now);
}

std::optional<SteadyTime> RigLink::WakeAt() const { return deadline_; }

RigState RigLink::State() const {
    std::optional<Station> busy;
    if (waiting_) busy = waiting_->station;
    else if (job_) busy = job_->station;
    return {line_, tuned_, busy, pttUnknown_};
}

std::string RigLink::Start(SteadyTime now) {
    if (!job_ && waiting_) job_ = std::exchange(waiting_, std::nullopt);
    if (!job_) return {};
    return Begin(now);
}

std::string RigLink::Begin(SteadyTime now) {
    plan_ = PlanTune(job_->station, splitOn_);
    if (!plan_) return Finish("Radio: " + job_->station.call + " has no frequency to set", now);
    line_ = "Radio: tuning " + plan_->channel;
    phase_ = Phase::AskPtt;
    return Ask(PttQuestion(), now);
}

std::string RigLink::Ask(std::string line, SteadyTime now) {
    awaited_ = std::move(line);
    deadline_ = now + kRigAnswerTime;
    return awaited_;
}

std::string RigLink::Answered(const std::optional<RigAnswer>& answer, SteadyTime now) {
    deadline_.reset();
    const bool accepted = answer && answer->code == 0;
    switch (phase_) {
        case Phase::AskPtt: return AfterPtt(answer, now);
        case Phase::ReadBefore:
            if (answer)
                if (std::optional<RigValue> was = ValueOfAnswer(*SettingsOf(*plan_)[step_], *answer)) before_.push_back(*was);
            break;
        case Phase::Set:
            if (!accepted) {
                // What was sent up to the refusal goes back as it was read, the last first.
                const std::vector<RigValue> sent(plan_->values.begin(), plan_->values.begin() + static_cast<std::ptrdiff_t>(step_) + 1);
                for (auto was = before_.rbegin(); was != before_.rend(); ++was)
                    if (std::any_of(sent.begin(), sent.end(), [&](const RigValue& v) { return v.setting == was->setting; }))
                        putBack_.push_back(*was);
                notKept_ = nullptr;
                line_ = RefusedText(*plan_->values[step_].setting, answer ? std::optional(answer->code) : std::nullopt);
                phase_ = Phase::PutBack;
                step_ = 0;
                return NextOfPhase(now);
            }
            break;
        case Phase::Check: {
            const RigSetting* setting = plan_->values[step_].setting;
            if (CannotTell(answer)) {
                if (!unread_) unread_ = setting;
            } else if (!ReadsBack(plan_->values[step_], *answer) && !notKept_) {
                notKept_ = setting;
            }
            break;
        }
        case Phase::Idle:
        case Phase::PttWait:
        case Phase::PutBack: break;
    }
    ++step_;
    return NextOfPhase(now);
}

// Nothing is retuned while the radio transmits, nor in the seconds after: a reply in a QSO is
// never cut. A rig that cannot tell is tuned on a tap only, the driver's own choice.
std::string RigLink::AfterPtt(const std::optional<RigAnswer>& answer, SteadyTime now) {
    const std::optional<bool> ptt = answer ? PttOf(*answer) : std::nullopt;
    if (!ptt && !CannotTell(answer))
        return Finish("Radio: not tuned: the rig gave no PTT state (RPRT " + std::to_string(answer->code) + ")", now);
    pttUnknown_ = !ptt;
    if (!ptt && job_->cause == TuneCause::Follow) return Finish("Radio: follow tunes no rig that cannot report PTT", now);
    if (ptt && *ptt) lastPttOn_ = now;
    if (ptt && lastPttOn_ && now - *lastPttOn_ < kAfterPtt) {
        phase_ = Phase::PttWait;
        deadline_ = now + kPttAskAgain;
        line_ = *ptt ? "Radio: waiting: the radio is transmitting" : "Radio: waiting 5 s after the transmission";
        return {};
    }
    phase_ = Phase::ReadBefore;
    step_ = 0;
    before_.clear();
    putBack_.clear();
    unread_ = notKept_ = nullptr;
    return NextOfPhase(now);
}

std::string RigLink::NextOfPhase(SteadyTime now) {
    if (phase_ == Phase::ReadBefore) {
        const std::vector<const RigSetting*> settings = SettingsOf(*plan_);
        if (step_ < settings.size()) return Ask(GetLine(*settings[step_]), now);
        phase_ = Phase::Set;
        step_ = 0;
    }
    if (phase_ == Phase::Set) {
        if (step_ < plan_->values.size()) return Ask(SetLine(plan_->values[step_]), now);
        phase_ = Phase::Check;
        step_ = 0;
    }
    if (phase_ == Phase::Check) {
        while (step_ < plan_->values.size() && plan_->values[step_].expected.empty()) ++step_;
        if (step_ < plan_->values.size()) return Ask(GetLine(*plan_->values[step_].setting), now);
        for (const RigValue& value : plan_->values)
            if (value.setting->set == "set_split_vfo") splitOn_ = value.value.starts_with('1');
        const bool set = !notKept_ && !unread_;
        tuned_ = set ? std::optional(job_->station) : std::nullopt;
        return Finish(notKept_ ? NotKeptText(*notKept_) : unread_ ? UnreadText(*plan_, *unread_) : TunedText(*plan_), now);
    }
    if (phase_ == Phase::PutBack) {
        if (step_ < putBack_.size()) return Ask(SetLine(putBack_[step_]), now);
        tuned_.reset();
        return Finish(line_, now);
    }
    return {};
}

std::string RigLink::Finish(std::string line, SteadyTime now) {
    line_ = std::move(line);
    job_.reset();
    plan_.reset();
    phase_ = Phase::Idle;
    deadline_.reset();
    return Start(now);
}

}  // namespace moltrevane
