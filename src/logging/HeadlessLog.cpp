#include "logging/HeadlessLog.h"

#include <algorithm>

#include "link/EcmLink.h"

namespace tavo {

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
    const std::uint64_t queriesBefore = link.queries();
    const auto started = clock.now();
    const auto end = plan.seconds ? started + std::chrono::microseconds(static_cast<std::int64_t>(*plan.seconds * 1e6))
                                  : std::chrono::microseconds::max();
    TickSchedule schedule;
    schedule.start(started, tickIntervalMs(plan.samplePeriodMs));
    for (;;) {
        if (plan.ticks && result.ticks >= *plan.ticks)
            break;
        if (schedule.due() >= end)
            break;
        if (const auto now = clock.now(); schedule.due() > now)
            clock.sleepFor(schedule.due() - now);
        runAcquisitionTick(state, channels, customText, link);
        ++result.ticks;
        result.syncedTicks += link.linkSynced() ? 1 : 0;
        schedule.ticked(clock.now());
    }
    result.seconds = std::chrono::duration<double>(clock.now() - started).count();
    result.queries = link.queries() - queriesBefore;
    setLogButton(state, false);
    return result;
}

}  // namespace tavo
