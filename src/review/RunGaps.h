#pragma once
// Where a logged run with measured times has a hole: two rows far further
// apart than the run's usual step, the ECM silent (or the line lost) between
// them. A gap stays a gap in every view: the chart breaks its traces there
// and marks the silence, the cursor read-out says how long it was, and the
// statistics count it.

#include <optional>
#include <vector>

namespace tavo {

// A step is a gap when it is more than this many median steps...
inline constexpr double kGapMedianSteps = 5.0;
// ...and at least this long: a slow but steady rate has no gaps.
inline constexpr double kLeastGapSeconds = 0.5;

struct RunGap {
    int before = 0;      // the row before the silence; the next row follows it
    double seconds = 0;  // the time between the two rows
    bool operator==(const RunGap&) const = default;
};

// The gaps between consecutive rows of `seconds`. The median is taken over
// the steps forward (a time that goes back, or repeats, is no step); a step
// back is never a gap. Fewer than two steps forward: no gaps.
std::vector<RunGap> findGaps(const std::vector<double>& seconds);

// The gap on either side of `row`: the one after it, else the one before it.
std::optional<RunGap> gapBeside(const std::vector<RunGap>& gaps, int row);

struct GapTotal {
    int count = 0;
    double seconds = 0;
};
GapTotal gapTotal(const std::vector<RunGap>& gaps);

}  // namespace tavo
