#pragma once
// What a run's channels did: rows, least, greatest, mean and last value, as
// tavo-cli log-stats prints them.

#include <optional>
#include <string>
#include <vector>

#include "review/LogRun.h"

namespace tavo {

struct ChannelStatistics {
    std::string title;
    int slot = 0;
    int rows = 0;
    // Nothing when no row was logged.
    std::optional<int> min;
    std::optional<int> max;
    std::optional<double> mean;  // rounded to three decimals
    std::optional<int> last;     // the newest row's value
};

// One entry per channel of the run, in its order.
std::vector<ChannelStatistics> channelStatistics(const LogRun& run);

}  // namespace tavo
