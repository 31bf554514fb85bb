#include "logging/HeadlessLog.h"

#include <algorithm>

#include "link/EcmLink.h"
#include "logging/AcquisitionRun.h"

namespace tavo {

namespace {

// Waits are cut into slices this long, so that a stop ends them soon.
constexpr std::chrono::microseconds kSleepSlice = std::chrono::milliseconds(20);

bool stopped(const HeadlessLogPlan& plan)
{
    return plan.stop && plan.stop->load();
}

}  // namespace

void TickSchedule::start(std::chrono::microseconds now, int intervalMs)
{
    setInterval(now, intervalMs);
}

void TickSchedule::setInterval(std::chrono::microseconds now, int intervalMs)
{
    interval_ = std::chrono::milliseconds(std::max(intervalMs, 0));
    due_ = now + interval_;
}

void TickSchedule::ticked(std::chrono::microseconds now)
{
    due_ = std::max(due_ + interval_, now);
}

HeadlessLogResult runHeadlessLog(EcmLink& link, AcquisitionState& state, const LogChannels& channels,
                                 const CustomAddressText& customText, const HeadlessLogPlan& plan)
{
    LinkClock& clock = link.clock();
    HeadlessLogResult result;
    state.samplePeriodMs = plan.samplePeriodMs;
    setLogButton(state, true);
    AcquisitionRun run(state, channels);
    run.customText = customText;
    run.started(link);
    const std::uint64_t queriesBefore = link.queries();
    const auto started = clock.now();
    const auto end = plan.seconds ? started + std::chrono::microseconds(static_cast<std::int64_t>(*plan.seconds * 1e6))
                                  : std::chrono::microseconds::max();
    TickSchedule schedule;
    schedule.start(started, tickIntervalMs(plan.samplePeriodMs));
    // The ticks since the last one answered in full, from the first of them.
    bool failing = false;
    std::chrono::microseconds failingSince{0};
    std::uint64_t requestsBefore = 0;
    std::uint64_t repliesBefore = 0;
    std::uint64_t straysBefore = 0;
    for (;;) {
        if (plan.ticks && result.ticks >= *plan.ticks)
            break;
        const auto due = std::max(schedule.due(), run.retryAt());
        if (due >= end || stopped(plan))
            break;
        if (const auto now = clock.now(); due > now) {
            clock.sleepFor(std::min(due - now, kSleepSlice));
            continue;
        }
        const auto tickStart = clock.now();
        const std::uint64_t requests = link.queries();
        const std::uint64_t replies = link.guard().replies();
        const std::uint64_t strays = link.strayBytes();
        const TickRecord record = run.tick(link);
        if (record.outcome != TickOutcome::Logged)
            continue;
        ++result.ticks;
        result.syncedTicks += record.synced ? 1 : 0;
        schedule.ticked(clock.now());
        if (record.trouble == TickTrouble::None) {
            failing = false;
            continue;
        }
        if (!failing) {
            failing = true;
            failingSince = tickStart;
            requestsBefore = requests;
            repliesBefore = replies;
            straysBefore = strays;
        }
        if (clock.now() - failingSince >= kHeadlessSilenceLimit) {
            result.ecmStopped = true;
            result.failingSinceSeconds =
                std::max(0.0, std::chrono::duration<double>(failingSince - started).count());
            result.failingRequests = link.queries() - requestsBefore;
            result.failingReplies = link.guard().replies() - repliesBefore;
            result.failingStrays = link.strayBytes() - straysBefore;
            result.answeringBadly = link.guard().replies() > replies;
            break;
        }
    }
    result.stoppedEarly = stopped(plan) && !result.ecmStopped;
    run.finish(link);
    result.seconds = std::chrono::duration<double>(clock.now() - started).count();
    result.lastAnsweredSeconds = std::max(0.0, std::chrono::duration<double>(run.lastAnswered() - started).count());
    result.queries = link.queries() - queriesBefore;
    result.answeredTicks = run.answeredTicks();
    result.missedTicks = run.missedTicks();
    setLogButton(run.state, false);
    adoptRing(state, run.state);
    setLogButton(state, false);
    return result;
}

}  // namespace tavo
