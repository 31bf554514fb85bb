#include "review/LogStatistics.h"

#include <algorithm>
#include <cmath>

namespace tavo {

std::vector<ChannelStatistics> channelStatistics(const LogRun& run)
{
    std::vector<ChannelStatistics> all;
    for (const RunChannel& channel : run.channels) {
        ChannelStatistics stats;
        stats.title = channel.title;
        stats.slot = channel.slot;
        stats.rows = static_cast<int>(channel.values.size());
        if (!channel.values.empty()) {
            const auto [least, greatest] = std::minmax_element(channel.values.begin(), channel.values.end());
            long long sum = 0;
            for (const std::uint8_t value : channel.values)
                sum += value;
            stats.min = *least;
            stats.max = *greatest;
            stats.mean = std::round(static_cast<double>(sum) / stats.rows * 1000.0) / 1000.0;
            stats.last = channel.values.back();
        }
        all.push_back(std::move(stats));
    }
    return all;
}

}  // namespace tavo
