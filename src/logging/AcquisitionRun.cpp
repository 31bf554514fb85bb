#include "logging/AcquisitionRun.h"

#include "link/EcmLink.h"

namespace tavo {

namespace {

constexpr auto kReconnectEvery = std::chrono::seconds(1);
constexpr auto kSilenceBeforeReconnect = std::chrono::seconds(5);
constexpr auto kReconnectSilentEvery = std::chrono::seconds(10);

}  // namespace

AcquisitionRun::AcquisitionRun(const AcquisitionState& initial, const LogChannels& logChannels,
                               std::optional<LinkTarget> target)
    : state(initial), channels(logChannels), target_(std::move(target))
{
}

void AcquisitionRun::started(EcmLink& link)
{
    lastAnswered_ = link.clock().now();
    held_.firstOfRun = true;
    retryAt_ = {};
    reconnectAt_ = {};
    silentReconnectAt_ = {};
}

void AcquisitionRun::maybeReconnect(EcmLink& link, std::chrono::microseconds now)
{
    if (!target_)
        return;
    if (link.linkConnected()) {
        if (now - lastAnswered_ < kSilenceBeforeReconnect || now < silentReconnectAt_)
            return;
        silentReconnectAt_ = now + kReconnectSilentEvery;
    } else {
        if (now < reconnectAt_)
            return;
        reconnectAt_ = now + kReconnectEvery;
    }
    link.connectEcm(target_->device, target_->settings);
}

TickRecord AcquisitionRun::tick(EcmLink& link)
{
    if (loggingPhase(state) != LoggingPhase::Logging)
        return runAcquisitionTick(state, held_, channels, customText, link);
    const auto now = link.clock().now();
    if (now < retryAt_) {
        TickRecord waiting;
        waiting.outcome = TickOutcome::Waiting;
        return waiting;
    }
    maybeReconnect(link, now);
    if (link.interrupted()) {
        TickRecord cut;
        cut.outcome = TickOutcome::CutShort;
        return cut;
    }
    const TickRecord record = runAcquisitionTick(state, held_, channels, customText, link);
    if (record.outcome != TickOutcome::Logged)
        return record;
    if (record.trouble == TickTrouble::None)
        lastAnswered_ = now;
    else
        retryAt_ = now + retryInterval(state.samplePeriodMs);
    count(record);
    return record;
}

TickRecord AcquisitionRun::finish(EcmLink& link)
{
    const TickRecord record = finishAcquisitionRun(state, held_, link);
    count(record);
    return record;
}

void AcquisitionRun::count(const TickRecord& record)
{
    // Each tick's row is decided once, a tick later: stored or lost.
    answeredTicks_ += record.stored ? 1 : 0;
    missedTicks_ += record.lost ? 1 : 0;
}

}  // namespace tavo
