#pragma once
// Logging without a window (tavo-cli log): the Data Logging dialog's ticks
// on a schedule kept by the link's clock, so that tests run it in virtual
// time.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

#include "logging/Acquisition.h"

namespace tavo {

class LinkClock;

// When the next tick is due, as the dialog's timer keeps it: one period
// after the start, then one period after each tick was due. A tick that ends
// late is followed at once, without a burst of catching up; a period of 0
// runs ticks back to back. A new period restarts the count from now.
class TickSchedule {
public:
    void start(std::chrono::microseconds now, int intervalMs);
    void setInterval(std::chrono::microseconds now, int intervalMs);
    std::chrono::microseconds due() const { return due_; }
    // The tick due now has run; `now` is when it ended.
    void ticked(std::chrono::microseconds now);

private:
    std::chrono::microseconds interval_{0};
    std::chrono::microseconds due_{0};
};

// A run whose ticks have got no full answer for this long, counted from the
// first tick that got none, has lost its ECM (or its ECM answers too badly
// to log). A tick that is not yet due counts for nothing: a run with a
// period of a minute is not ended by the wait for its first tick.
inline constexpr std::chrono::seconds kHeadlessSilenceLimit{2};

struct HeadlessLogPlan {
    std::optional<std::int64_t> ticks;    // attempt this many ticks,
    std::optional<double> seconds;        // or tick until this much time has passed
    std::int32_t samplePeriodMs = 125;    // 1: back to back, as "Fastest"
    const std::atomic<bool>* stop = nullptr;  // set (by a signal) to end the run early
};

struct HeadlessLogResult {
    std::int64_t ticks = 0;          // ticks attempted
    std::int64_t answeredTicks = 0;  // ticks whose row was stored
    std::int64_t missedTicks = 0;    // ticks that stored no row
    std::int64_t syncedTicks = 0;    // ticks whose sync check succeeded
    std::uint64_t queries = 0;       // exchanges, the sync checks' included
    double seconds = 0.0;            // from LOG pressed to the last tick's end
    bool stoppedEarly = false;       // ended by `stop`
    bool ecmStopped = false;         // ended after the silence limit
    double lastAnsweredSeconds = 0.0;  // when the last answered tick began, from LOG pressed
    // The stretch of ticks without a full answer that ended the run: when
    // its first tick began (from LOG pressed, never below 0) and the
    // requests made and answered during it.
    double failingSinceSeconds = 0.0;
    std::uint64_t failingRequests = 0;
    std::uint64_t failingReplies = 0;
    std::uint64_t failingStrays = 0;  // bytes no request waited for, during it
    bool answeringBadly = false;  // the last tick of the stretch still got replies
};

// Presses LOG (the link connected), runs the ticks, confirms the last held
// row and releases LOG; the ring and flags are left in `state` as the
// dialog would leave them. The run ends at its planned end, when `stop` is
// set, or once the ECM has not answered for the silence limit.
HeadlessLogResult runHeadlessLog(EcmLink& link, AcquisitionState& state, const LogChannels& channels,
                                 const CustomAddressText& customText, const HeadlessLogPlan& plan);

}  // namespace tavo
