#pragma once
// The hit-count picture as numbers: the table's Quick Viewer graph drawn
// `scale` times its size, each point's cell (the values that count for it)
// shaded by its share of the most hits, a bar over the point's x rising from
// the graph's foot, and the counts written below the graph in as many rows
// as they need not to overlap.

#include <vector>

#include "review/HitCounts.h"

namespace tavo {

inline constexpr int kHitMargin = 8;
inline constexpr int kHitLabelRowHeight = 14;
inline constexpr int kHitLabelGap = 4;
inline constexpr int kHitBarWidth = 4;
// The tallest bar, as a share of the graph's height.
inline constexpr double kHitBarShare = 0.3;

struct HitShade {
    int point = 0;
    int left = 0;
    int width = 0;
    double share = 0;  // hits / the most hits of any point, 0 to 1
};

struct HitBar {
    int point = 0;
    int left = 0;
    int top = 0;
    int height = 0;
};

struct HitLabel {
    int point = 0;
    int centre = 0;  // x the text is centred on
    int top = 0;
};

struct HitPicture {
    int width = 0;
    int height = 0;
    int graphLeft = kHitMargin;
    int graphTop = kHitMargin;
    int graphSize = 0;  // the scaled graph's side
    std::vector<HitShade> shades;
    std::vector<HitBar> bars;
    std::vector<HitLabel> labels;
    int summaryTop = 0;  // the line with rows, below and above
};

// `textWidths`: the width of each point's count as written.
HitPicture hitPicture(const std::vector<int>& xs, const HitCounts& counts, const std::vector<int>& textWidths,
                      int scale);

// Rows for texts centred at `centres` with `widths`: each text takes the
// first row in which it keeps `gap` pixels from the texts already there.
std::vector<int> labelRows(const std::vector<int>& centres, const std::vector<int>& widths, int gap);

}  // namespace tavo
