#include "review/HitCounts.h"

#include <algorithm>
#include <cstdlib>

#include "rom/RomImage.h"

namespace tavo {

std::array<int, 256> hitLookup(const std::vector<int>& xs)
{
    std::array<int, 256> lookup{};
    if (xs.empty()) {
        lookup.fill(kHitNone);
        return lookup;
    }
    // Of equal xs the first point counts; then each value takes the nearest
    // x at or below it and the nearest at or above it, the lower on a tie.
    // Once per x and value, not per point and value: a table has up to 255.
    std::array<int, 256> firstWithX;
    firstWithX.fill(-1);
    for (int i = static_cast<int>(xs.size()) - 1; i >= 0; --i) {
        const int x = xs[static_cast<std::size_t>(i)];
        if (x >= 0 && x <= 255)
            firstWithX[static_cast<std::size_t>(x)] = i;
    }
    std::array<int, 256> above{};  // the lowest x at or above each value, 256 for none
    for (int v = 255, next = 256; v >= 0; --v) {
        if (firstWithX[static_cast<std::size_t>(v)] >= 0)
            next = v;
        above[static_cast<std::size_t>(v)] = next;
    }
    for (int v = 0, below = -1; v < 256; ++v) {
        if (firstWithX[static_cast<std::size_t>(v)] >= 0)
            below = v;
        const int next = above[static_cast<std::size_t>(v)];
        int& point = lookup[static_cast<std::size_t>(v)];
        if (below < 0)
            point = kHitBelow;
        else if (next > 255)
            point = kHitAbove;
        else
            point = firstWithX[static_cast<std::size_t>(v - below <= next - v ? below : next)];
    }
    return lookup;
}

HitCounts countHits(const std::vector<int>& xs, const std::vector<std::uint8_t>& values)
{
    const std::array<int, 256> lookup = hitLookup(xs);
    HitCounts counts;
    counts.hits.assign(xs.size(), 0);
    counts.rows = static_cast<int>(values.size());
    for (const std::uint8_t value : values)
        countHit(counts, lookup[value]);
    return counts;
}

void countHit(HitCounts& counts, int point)
{
    if (point >= 0)
        ++counts.hits[static_cast<std::size_t>(point)];
    else if (point == kHitBelow)
        ++counts.below;
    else if (point == kHitAbove)
        ++counts.above;
}

std::vector<HitCell> hitCells(const std::vector<int>& xs)
{
    const std::array<int, 256> lookup = hitLookup(xs);
    std::vector<HitCell> cells(xs.size());
    for (int v = 0; v < 256; ++v) {
        const int point = lookup[static_cast<std::size_t>(v)];
        if (point < 0)
            continue;
        HitCell& cell = cells[static_cast<std::size_t>(point)];
        if (cell.first > cell.last)
            cell.first = v;
        cell.last = v;
    }
    return cells;
}

std::vector<TablePoint> tablePoints(const RomImage& rom, const TableDef& def)
{
    std::vector<TablePoint> points;
    if (!isGraphType(def.type))
        return points;
    const int count = rowsInSpace(def.type, def.offset, def.count);
    for (int i = 0; i < count; ++i)
        points.push_back(readPoint(rom.image, def.type, def.offset, i));
    return points;
}

std::vector<int> pointXs(const std::vector<TablePoint>& points)
{
    std::vector<int> xs;
    for (const TablePoint& point : points)
        xs.push_back(point.x);
    return xs;
}

}  // namespace tavo
