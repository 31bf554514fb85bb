#include "logging/LogRunState.h"

namespace tavo {

const char* runPhaseName(RunPhase phase)
{
    switch (phase) {
    case RunPhase::Idle: return "idle";
    case RunPhase::Connecting: return "connecting";
    case RunPhase::Logging: return "logging";
    case RunPhase::NoReply: return "no reply";
    case RunPhase::Recovering: return "recovering";
    }
    return "idle";
}

bool LogRunState::press(AcquisitionState& acquisition)
{
    if (phase_ != RunPhase::Idle || acquisition.logOn)
        return false;
    pausedBefore_ = acquisition.logPaused;
    setLogButton(acquisition, true);
    phase_ = RunPhase::Connecting;
    aborting_ = false;
    return true;
}

bool LogRunState::resume(AcquisitionState& acquisition)
{
    if (phase_ != RunPhase::Idle || !acquisition.logOn)
        return false;
    // Should it fail, LOG goes up as though released.
    pausedBefore_ = true;
    phase_ = RunPhase::Connecting;
    aborting_ = false;
    return true;
}

bool LogRunState::abort()
{
    if (phase_ != RunPhase::Connecting || aborting_)
        return false;
    aborting_ = true;
    return true;
}

bool LogRunState::connectFinished(bool connected, Time now, AcquisitionState& acquisition)
{
    if (phase_ != RunPhase::Connecting)
        return running();
    const bool aborted = aborting_;
    aborting_ = false;
    if (connected && !aborted) {
        phase_ = RunPhase::Logging;
        lastAnswered_ = now;
        lastTrouble_ = TickTrouble::None;
        return true;
    }
    phase_ = RunPhase::Idle;
    acquisition.logOn = onBefore();
    acquisition.logPaused = pausedBefore_;
    return false;
}

bool LogRunState::ticked(TickTrouble trouble, Time now)
{
    if (!running())
        return false;
    lastTrouble_ = trouble;
    if (trouble != TickTrouble::None)
        return false;
    lastAnswered_ = now;
    const bool changed = phase_ != RunPhase::Logging;
    phase_ = RunPhase::Logging;
    return changed;
}

bool LogRunState::checkSilence(Time now, std::chrono::milliseconds limit, bool linkConnected)
{
    if (!running() || now - lastAnswered_ < limit)
        return false;
    const RunPhase next = linkConnected ? RunPhase::NoReply : RunPhase::Recovering;
    const bool changed = next != phase_;
    phase_ = next;
    return changed;
}

void LogRunState::stop()
{
    phase_ = RunPhase::Idle;
    aborting_ = false;
}

TimeOfDay LogRunState::lastAnsweredAt(Time now, const TimeOfDay& wallNow) const
{
    return timeOfDayBefore(wallNow, now - lastAnswered_);
}

TimeOfDay timeOfDayBefore(const TimeOfDay& at, std::chrono::microseconds ago)
{
    constexpr long long kDay = 24 * 60 * 60;
    const long long agoSeconds = std::chrono::duration_cast<std::chrono::seconds>(ago).count();
    long long second = (static_cast<long long>(at.hour) * 3600 + at.minute * 60 + at.second - agoSeconds) % kDay;
    if (second < 0)
        second += kDay;
    return {static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60), static_cast<int>(second % 60)};
}

}  // namespace tavo
