#include "live/LiveMarker.h"

#include <algorithm>
#include <cmath>

#include "review/HitCounts.h"

namespace tavo {

namespace {

// The curve's height at pixel column x: on the segment that covers x,
// straight between its ends (a vertical step takes its lower end's height).
std::optional<int> curveRowAt(const std::vector<GraphSegment>& segments, int x)
{
    // The first segment that covers x: a point's column belongs to the
    // segment that ends there, as the curve reaches it.
    for (const GraphSegment& segment : segments) {
        if (segment.pen != GraphPen::Curve)
            continue;
        if (x < std::min(segment.from.x, segment.to.x) || x > std::max(segment.from.x, segment.to.x))
            continue;
        if (segment.from.x == segment.to.x)
            return std::max(segment.from.y, segment.to.y);
        const double along = static_cast<double>(x - segment.from.x) / (segment.to.x - segment.from.x);
        return static_cast<int>(std::lround(segment.from.y + along * (segment.to.y - segment.from.y)));
    }
    return std::nullopt;
}

}  // namespace

std::optional<LiveMark> liveMark(const std::vector<GraphSegment>& segments, const std::vector<int>& xs, int value)
{
    if (xs.empty())
        return std::nullopt;
    const auto [lowest, highest] = std::minmax_element(xs.begin(), xs.end());
    const int byte = std::clamp(value, 0, 255);
    LiveMark mark;
    mark.point = hitLookup(xs)[static_cast<std::size_t>(byte)];
    mark.outside = byte < *lowest || byte > *highest;
    if (mark.outside)
        mark.point = -1;
    const int x = std::clamp(byte, *lowest, *highest);
    const std::optional<int> row = curveRowAt(segments, x);
    if (!row)
        return std::nullopt;
    mark.at = {x, *row};
    return mark;
}

std::vector<TrailDot> liveTrail(const std::vector<GraphSegment>& segments, const std::vector<int>& xs,
                                const std::vector<TimedValue>& rows, std::int64_t nowUs, double seconds)
{
    std::vector<TrailDot> trail;
    if (seconds <= 0 || rows.size() < 2)
        return trail;
    const double lengthUs = seconds * 1e6;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const double age = static_cast<double>(nowUs - rows[i].sampledUs);
        if (age < 0 || age >= lengthUs)
            continue;
        if (const auto mark = liveMark(segments, xs, rows[i].value))
            trail.push_back({*mark, 1.0 - age / lengthUs});
    }
    return trail;
}

}  // namespace tavo
