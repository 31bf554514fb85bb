#pragma once
// Table hit counts: for each point of a table, how many logged rows fell on
// it. A row's value v counts for the point whose x is nearest to v, the
// lower x on a tie and the first point in table order among equal x; a v
// below the smallest x or above the largest counts apart, for no point.

#include <array>
#include <cstdint>
#include <vector>

#include "tables/TableCells.h"

namespace tavo {

struct RomImage;

// What hitPoint gives for a value outside the table's x range.
inline constexpr int kHitBelow = -1;
inline constexpr int kHitAbove = -2;
// A table without points counts no row at all.
inline constexpr int kHitNone = -3;

// For every byte value 0 to 255, the index of the point it counts for, or
// kHitBelow / kHitAbove (kHitNone for a table without points).
std::array<int, 256> hitLookup(const std::vector<int>& xs);

struct HitCounts {
    std::vector<int> hits;  // one per point, in table order
    int rows = 0;
    int below = 0;
    int above = 0;
};

HitCounts countHits(const std::vector<int>& xs, const std::vector<std::uint8_t>& values);
// One row counted for the point hitLookup gave its value (or below, above).
void countHit(HitCounts& counts, int point);

// The values each point takes, as one run from first to last (empty for a
// point that another of the same x shadows: first > last).
struct HitCell {
    int first = 0;
    int last = -1;
};
std::vector<HitCell> hitCells(const std::vector<int>& xs);

// The points of a Normal, FiveByte or Signed table as `show` gives them
// (only the rows inside the 64 KiB space).
std::vector<TablePoint> tablePoints(const RomImage& rom, const TableDef& def);
std::vector<int> pointXs(const std::vector<TablePoint>& points);

}  // namespace tavo
