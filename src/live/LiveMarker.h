#pragma once
// Where the engine is on the table graph: the marker at the newest stored
// row's value, on the drawn curve, and the trail of the rows before it,
// fading out with their age. Plain geometry on the graph's pixels (the x
// pixel of a value is the value itself, as the curve is drawn), tested
// without painting.
//
// A value below the table's smallest x or above its largest (the hit rule's
// "outside") is drawn at that edge point and marked as outside. Only stored
// rows place anything: a gap in the ring leaves the marker where the last
// stored row put it.

#include <cstdint>
#include <optional>
#include <vector>

#include "viewer/GraphGeometry.h"

namespace tavo {

struct LiveMark {
    GraphPixel at;
    bool outside = false;  // the value lies beyond the table's x range: drawn at its edge
    int point = -1;        // the table point the value counts for (hit rule), -1 outside
    bool operator==(const LiveMark&) const = default;
};

// The marker for a channel byte, on the curve whose segments the graph drew
// (GraphPen::Curve) for a table with points at `xs`; nothing for a table
// without points.
std::optional<LiveMark> liveMark(const std::vector<GraphSegment>& segments, const std::vector<int>& xs, int value);

// A stored row of the live channel: its byte and when it was sampled.
struct TimedValue {
    int value = 0;
    std::int64_t sampledUs = 0;
};

struct TrailDot {
    LiveMark mark;
    double strength = 0;  // 1 for a row sampled now, falling to 0 at the trail's length
    bool operator==(const TrailDot&) const = default;
};

// The trail of the rows sampled within `seconds` before `nowUs`, oldest
// first (rows given oldest first); the newest row, which the marker shows,
// is left out, and rows on one pixel make one dot (the newest's strength).
// No trail at all when `seconds` is 0.
std::vector<TrailDot> liveTrail(const std::vector<GraphSegment>& segments, const std::vector<int>& xs,
                                const std::vector<TimedValue>& rows, std::int64_t nowUs, double seconds);

}  // namespace tavo
