#include "review/RunGaps.h"

#include <algorithm>

namespace tavo {

std::vector<RunGap> findGaps(const std::vector<double>& seconds)
{
    std::vector<double> steps;
    for (std::size_t i = 1; i < seconds.size(); ++i)
        if (seconds[i] > seconds[i - 1])
            steps.push_back(seconds[i] - seconds[i - 1]);
    std::vector<RunGap> gaps;
    if (steps.size() < 2)
        return gaps;
    // The median, not the mean: a long silence must not raise its own bar.
    const auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    double median = *middle;
    if (steps.size() % 2 == 0)
        median = (median + *std::max_element(steps.begin(), middle)) / 2;
    for (std::size_t i = 1; i < seconds.size(); ++i) {
        const double step = seconds[i] - seconds[i - 1];
        if (step > kGapMedianSteps * median && step >= kLeastGapSeconds)
            gaps.push_back({static_cast<int>(i - 1), step});
    }
    return gaps;
}

std::optional<RunGap> gapBeside(const std::vector<RunGap>& gaps, int row)
{
    const auto after = std::find_if(gaps.begin(), gaps.end(), [row](const RunGap& gap) { return gap.before == row; });
    if (after != gaps.end())
        return *after;
    const auto before =
        std::find_if(gaps.begin(), gaps.end(), [row](const RunGap& gap) { return gap.before + 1 == row; });
    if (before != gaps.end())
        return *before;
    return std::nullopt;
}

GapTotal gapTotal(const std::vector<RunGap>& gaps)
{
    GapTotal total;
    for (const RunGap& gap : gaps) {
        ++total.count;
        total.seconds += gap.seconds;
    }
    return total;
}

}  // namespace tavo
