#include "link/ReplyTimes.h"

#include <algorithm>

namespace tavo {

std::int64_t lineExchangeUs(int baud)
{
    return baud > 0 ? (20'000'000LL + baud / 2) / baud : 0;
}

int ReplyTimes::binOf(std::int64_t us)
{
    us = std::max<std::int64_t>(us, 0);
    if (us < 10'000)
        return static_cast<int>(us / 10);
    if (us < 100'000)
        return 1000 + static_cast<int>((us - 10'000) / 100);
    if (us < 1'000'000)
        return 1900 + static_cast<int>((us - 100'000) / 1000);
    return kBins - 1;
}

std::int64_t ReplyTimes::middleOf(int bin)
{
    if (bin < 1000)
        return bin * 10LL + 5;
    if (bin < 1900)
        return 10'000 + (bin - 1000) * 100LL + 50;
    if (bin < 2800)
        return 100'000 + (bin - 1900) * 1000LL + 500;
    return 1'000'000;
}

void ReplyTimes::restart(int baud)
{
    bins_.fill(0);
    summary_ = {};
    summary_.lineUs = lineExchangeUs(baud);
}

void ReplyTimes::replied(std::chrono::microseconds took)
{
    ++bins_[static_cast<std::size_t>(binOf(took.count()))];
    ++summary_.count;
    // Nearest rank: the median is the ceil(n/2)-th reply, the 95th percentile
    // the ceil(0.95 n)-th. The walk stops there, a few dozen bins for a good line.
    summary_.medianUs = timeAtRank((summary_.count + 1) / 2);
    summary_.p95Us = timeAtRank((summary_.count * 95 + 99) / 100);
}

std::int64_t ReplyTimes::timeAtRank(std::uint64_t rank) const
{
    std::uint64_t seen = 0;
    for (int bin = 0; bin < kBins; ++bin) {
        seen += bins_[static_cast<std::size_t>(bin)];
        if (seen >= rank)
            return middleOf(bin);
    }
    return middleOf(kBins - 1);
}

}  // namespace tavo
