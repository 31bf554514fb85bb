#pragma once
// How long the ECM's replies take: each exchange timed from the request
// written to the reply read, on the link's clock, into a fixed histogram
// (nothing allocated per exchange), so that a connection's median and 95th
// percentile can be told at any moment. A USB adapter that holds short
// replies until its latency timer runs out shows here as a median many
// milliseconds above the line's own time.

#include <array>
#include <chrono>
#include <cstdint>

namespace tavo {

// What the reply times of a connection come to. Times in microseconds.
struct ReplyTimeSummary {
    std::uint64_t count = 0;       // replies timed
    std::uint64_t unanswered = 0;  // requests whose reply wait ran out
    std::int64_t medianUs = 0;     // meaningful only when count > 0
    std::int64_t p95Us = 0;
    // One exchange's own time on the line at the rate in use: a byte each
    // way, ten bit times each (0 when the rate is unknown).
    std::int64_t lineUs = 0;
};

// The line's own time for one exchange at `baud`: twenty bit times.
std::int64_t lineExchangeUs(int baud);

class ReplyTimes {
public:
    // A new connection at `baud`: everything before it is forgotten.
    void restart(int baud);
    void replied(std::chrono::microseconds took);
    void unanswered() { ++summary_.unanswered; }
    const ReplyTimeSummary& summary() const { return summary_; }

    // The histogram's steps: 10 us up to 10 ms, 100 us up to 100 ms, 1 ms up
    // to 1 s; a time is reported as the middle of its step, so it is true to
    // within half a step. Longer times fall into one last bin.
    static constexpr int kBins = 1000 + 900 + 900 + 1;
    static int binOf(std::int64_t us);
    static std::int64_t middleOf(int bin);

private:
    // The time at rank `rank` (1-based) of the sorted replies.
    std::int64_t timeAtRank(std::uint64_t rank) const;

    std::array<std::uint32_t, kBins> bins_{};
    ReplyTimeSummary summary_;
};

}  // namespace tavo
