#include "live/LiveMarker.h"

#include <algorithm>
#include <array>
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

// The marker with the table's hit lookup made once.
std::optional<LiveMark> markWith(const std::vector<GraphSegment>& segments, const std::array<int, 256>& lookup,
                                 int lowest, int highest, int value)
{
    const int byte = std::clamp(value, 0, 255);
    LiveMark mark;
    mark.outside = byte < lowest || byte > highest;
    mark.point = mark.outside ? -1 : lookup[static_cast<std::size_t>(byte)];
    const int x = std::clamp(byte, lowest, highest);
    const std::optional<int> row = curveRowAt(segments, x);
    if (!row)
        return std::nullopt;
    mark.at = {x, *row};
    return mark;
}

}  // namespace

std::optional<LiveMark> liveMark(const std::vector<GraphSegment>& segments, const std::vector<int>& xs, int value)
{
    if (xs.empty())
        return std::nullopt;
    const auto [lowest, highest] = std::minmax_element(xs.begin(), xs.end());
    return markWith(segments, hitLookup(xs), *lowest, *highest, value);
}

std::vector<TrailDot> liveTrail(const std::vector<GraphSegment>& segments, const std::vector<int>& xs,
                                const std::vector<TimedValue>& rows, std::int64_t nowUs, double seconds)
{
    std::vector<TrailDot> trail;
    if (seconds <= 0 || rows.size() < 2 || xs.empty())
        return trail;
    const std::array<int, 256> lookup = hitLookup(xs);
    const auto [lowest, highest] = std::minmax_element(xs.begin(), xs.end());
    const double lengthUs = seconds * 1e6;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const double age = static_cast<double>(nowUs - rows[i].sampledUs);
        if (age < 0 || age >= lengthUs)
            continue;
        const auto mark = markWith(segments, lookup, *lowest, *highest, rows[i].value);
        if (!mark)
            continue;
        // An engine holding steady puts many rows on one pixel: one dot,
        // as strong as its newest row.
        const double strength = 1.0 - age / lengthUs;
        const auto same = std::find_if(trail.begin(), trail.end(),
                                       [&mark](const TrailDot& dot) { return dot.mark.at == mark->at; });
        if (same != trail.end())
            trail.erase(same);
        trail.push_back({*mark, strength});
    }
    return trail;
}

}  // namespace tavo
