#pragma once
// Live hit counts: how many of the rows the logging session stored counted
// for each point of the table on display, by the log window's hit rule,
// since a starting row (Live ticked, or Reset). Fed from the ring as rows
// arrive: each stored row is looked at once, however often it is asked.
// Only stored rows count; a tick that stored nothing (a gap) adds nothing.
//
// The counts belong to one table and one live channel. Another table, a
// channel chosen anew or a point's x moved count again from the starting
// row, as far as the ring still holds those rows (its newest 4096): the
// rows it has overwritten are gone, and none is made up for them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "review/HitCounts.h"

namespace tavo {

struct AcquisitionState;

class LiveHitCounts {
public:
    // Counts from zero with the rows stored after `sampleCount` (the ring's
    // count of rows stored so far).
    void startAt(std::int32_t sampleCount);
    // The table's point xs and the ring slot of its live channel (0 to 7,
    // 8 for Custom; -1 for none). Unchanged, nothing happens; changed, the
    // next catchUp counts again from the starting row.
    void setTable(const std::vector<int>& xs, int slot);
    // Counts the rows stored since the last call; a channel the run does
    // not log counts none. True when the counts changed.
    bool catchUp(const AcquisitionState& ring);

    // hits per point (in table order), rows counted, below and above.
    const HitCounts& counts() const { return counts_; }
    // Each point's cell of values, for the shades.
    const std::vector<HitCell>& cells() const { return cells_; }
    const std::vector<int>& xs() const { return xs_; }

private:
    std::vector<int> xs_;
    int slot_ = -1;
    std::array<int, 256> lookup_{};
    std::vector<HitCell> cells_;
    std::int32_t start_ = 0;
    std::int32_t counted_ = 0;  // the ring's sampleCount up to which rows are counted
    HitCounts counts_;
};

// A point's shade over the graph: the columns of its cell (the values that
// count for it, one pixel each), the graph's whole height.
struct LiveHitShade {
    int point = 0;
    int left = 0;
    int width = 0;
    // 1 for the most hit point, at least kFaintestHitShade for a point hit
    // once, so that where the engine has been shows however long it sat
    // elsewhere.
    double strength = 0;
    bool operator==(const LiveHitShade&) const = default;
};
inline constexpr double kFaintestHitShade = 0.15;

// The shades of the points with hits (none for a point without).
std::vector<LiveHitShade> liveHitShades(const std::vector<HitCell>& cells, const std::vector<int>& hits);

// The read-out at graph column `column` (a byte value), as the Hit Counts
// tab numbers points: "Point 2 (x 48): 57 of 412 rows", or the rows beyond
// the table's range on that side; empty for a table without points.
std::string liveHitText(const LiveHitCounts& live, int column);

}  // namespace tavo
