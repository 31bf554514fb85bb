#include "live/LiveHits.h"

#include <algorithm>

#include "logging/Acquisition.h"

namespace tavo {

void LiveHitCounts::startAt(std::int32_t sampleCount)
{
    start_ = sampleCount;
    counted_ = sampleCount;
    counts_ = HitCounts{};
    counts_.hits.assign(xs_.size(), 0);
}

void LiveHitCounts::setTable(const std::vector<int>& xs, int slot)
{
    if (xs == xs_ && slot == slot_ && counts_.hits.size() == xs.size())
        return;
    xs_ = xs;
    slot_ = slot;
    lookup_ = hitLookup(xs_);
    cells_ = hitCells(xs_);
    startAt(start_);
}

bool LiveHitCounts::catchUp(const AcquisitionState& ring)
{
    const std::int32_t stored = ring.sampleCount;
    // A ring that counts fewer rows than already counted is another ring
    // (a log read back): its rows are none of this drive's.
    if (stored <= counted_) {
        counted_ = std::min(counted_, stored);
        return false;
    }
    const std::int32_t from = std::max(counted_, stored - kRingRows);
    counted_ = stored;
    if (slot_ < 0 || slot_ > kCustomSlot || !maskBit(ring.channelMask, slot_) || xs_.empty())
        return false;
    for (std::int32_t k = from; k < stored; ++k) {
        // Row k of those stored since start-up: the newest, stored - 1, is at writePos.
        const auto row = static_cast<std::size_t>(ringRow(static_cast<long long>(ring.writePos) - (stored - 1 - k)));
        ++counts_.rows;
        countHit(counts_, lookup_[ring.samples[row][static_cast<std::size_t>(slot_)]]);
    }
    return true;
}

std::vector<LiveHitShade> liveHitShades(const std::vector<HitCell>& cells, const std::vector<int>& hits)
{
    std::vector<LiveHitShade> shades;
    const int most = hits.empty() ? 0 : *std::max_element(hits.begin(), hits.end());
    for (std::size_t i = 0; i < cells.size() && i < hits.size(); ++i) {
        if (hits[i] <= 0 || cells[i].first > cells[i].last)
            continue;
        const double share = static_cast<double>(hits[i]) / most;
        shades.push_back({static_cast<int>(i), cells[i].first, cells[i].last - cells[i].first + 1,
                          kFaintestHitShade + (1.0 - kFaintestHitShade) * share});
    }
    return shades;
}

std::string liveHitText(const LiveHitCounts& live, int column)
{
    const HitCounts& counts = live.counts();
    const std::vector<HitCell>& cells = live.cells();
    const std::string ofRows = " of " + std::to_string(counts.rows) + " rows";
    for (std::size_t i = 0; i < cells.size() && i < counts.hits.size(); ++i)
        if (column >= cells[i].first && column <= cells[i].last)
            return "Point " + std::to_string(i) + " (x " + std::to_string(live.xs()[i]) +
                   "): " + std::to_string(counts.hits[i]) + ofRows;
    if (live.xs().empty())
        return {};
    const auto [least, greatest] = std::minmax_element(live.xs().begin(), live.xs().end());
    if (column < *least)
        return "Below the smallest x: " + std::to_string(counts.below) + ofRows;
    if (column > *greatest)
        return "Above the largest x: " + std::to_string(counts.above) + ofRows;
    return {};
}

}  // namespace tavo
