#include "review/HitPictureGeometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "viewer/GraphMapping.h"

namespace tavo {

std::vector<int> labelRows(const std::vector<int>& centres, const std::vector<int>& widths, int gap)
{
    std::vector<std::size_t> order(centres.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return centres[a] < centres[b]; });
    std::vector<int> rows(centres.size(), 0);
    std::vector<int> rowEnds;  // the right edge of the last text of each row
    for (const std::size_t i : order) {
        const int left = centres[i] - widths[i] / 2;
        std::size_t row = 0;
        while (row < rowEnds.size() && left < rowEnds[row] + gap)
            ++row;
        if (row == rowEnds.size())
            rowEnds.push_back(0);
        rowEnds[row] = left + widths[i];
        rows[i] = static_cast<int>(row);
    }
    return rows;
}

HitPicture hitPicture(const std::vector<int>& xs, const HitCounts& counts, const std::vector<int>& textWidths,
                      int scale)
{
    HitPicture picture;
    scale = std::max(scale, 1);
    picture.graphSize = kGraphBitmapSize * scale;
    const int most = counts.hits.empty() ? 0 : *std::max_element(counts.hits.begin(), counts.hits.end());
    const std::vector<HitCell> cells = hitCells(xs);
    const int foot = picture.graphTop + 256 * scale;  // raw height 0 of a Normal table
    std::vector<int> centres;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const int hits = i < counts.hits.size() ? counts.hits[i] : 0;
        const double share = most > 0 ? static_cast<double>(hits) / most : 0.0;
        const int point = static_cast<int>(i);
        if (cells[i].first <= cells[i].last)
            picture.shades.push_back({point, picture.graphLeft + cells[i].first * scale,
                                      (cells[i].last - cells[i].first + 1) * scale, share});
        const int centre = picture.graphLeft + xs[i] * scale + scale / 2;
        const int height = static_cast<int>(std::lround(share * kHitBarShare * 256 * scale));
        if (height > 0)
            picture.bars.push_back({point, centre - kHitBarWidth / 2, foot - height, height});
        centres.push_back(centre);
    }
    std::vector<int> widths(xs.size(), 0);
    for (std::size_t i = 0; i < widths.size() && i < textWidths.size(); ++i)
        widths[i] = textWidths[i];
    const std::vector<int> rows = labelRows(centres, widths, kHitLabelGap);
    const int labelsTop = picture.graphTop + picture.graphSize + 4;
    int rowCount = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        picture.labels.push_back({static_cast<int>(i), centres[i], labelsTop + rows[i] * kHitLabelRowHeight});
        rowCount = std::max(rowCount, rows[i] + 1);
    }
    picture.summaryTop = labelsTop + rowCount * kHitLabelRowHeight + 4;
    picture.width = picture.graphLeft + picture.graphSize + kHitMargin;
    picture.height = picture.summaryTop + kHitLabelRowHeight + kHitMargin;
    return picture;
}

}  // namespace tavo
