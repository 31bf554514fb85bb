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
    const auto [least, greatest] = std::minmax_element(xs.begin(), xs.end());
    for (int v = 0; v < 256; ++v) {
        if (v < *least) {
            lookup[static_cast<std::size_t>(v)] = kHitBelow;
            continue;
        }
        if (v > *greatest) {
            lookup[static_cast<std::size_t>(v)] = kHitAbove;
            continue;
        }
        int best = 0;
        for (int i = 1; i < static_cast<int>(xs.size()); ++i) {
            const int distance = std::abs(xs[static_cast<std::size_t>(i)] - v);
            const int bestDistance = std::abs(xs[static_cast<std::size_t>(best)] - v);
            // Nearer wins; at the same distance the lower x; at the same x the first point.
            if (distance < bestDistance ||
                (distance == bestDistance && xs[static_cast<std::size_t>(i)] < xs[static_cast<std::size_t>(best)]))
                best = i;
        }
        lookup[static_cast<std::size_t>(v)] = best;
    }
    return lookup;
}

HitCounts countHits(const std::vector<int>& xs, const std::vector<std::uint8_t>& values)
{
    const std::array<int, 256> lookup = hitLookup(xs);
    HitCounts counts;
    counts.hits.assign(xs.size(), 0);
    counts.rows = static_cast<int>(values.size());
    for (const std::uint8_t value : values) {
        const int point = lookup[value];
        if (point >= 0)
            ++counts.hits[static_cast<std::size_t>(point)];
        else if (point == kHitBelow)
            ++counts.below;
        else if (point == kHitAbove)
            ++counts.above;
    }
    return counts;
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
