#include "review/ChartGeometry.h"

#include <algorithm>
#include <cmath>

#include "common/TextFormat.h"

namespace tavo {

namespace {

// Rows far outside the window are placed no further than this beyond the
// plot: the painter clips them, and the numbers stay small.
constexpr double kFarOutside = 100000;

}  // namespace

PlotRect plotRect(int imageWidth, int imageHeight, int legendRows)
{
    PlotRect plot;
    plot.left = kChartLeftMargin;
    plot.top = 6 + std::max(legendRows, 0) * kChartLegendRowHeight + 6;
    plot.width = std::max(imageWidth - kChartLeftMargin - kChartRightMargin, 2);
    plot.height = std::max(imageHeight - plot.top - kChartBottomMargin, 2);
    return plot;
}

TimeRange timeRange(const std::vector<double>& seconds)
{
    if (seconds.empty())
        return {};
    return {seconds.front(), seconds.back()};
}

TimeWindow fitAll(const TimeRange& range)
{
    if (range.last > range.first)
        return {range.first, range.last - range.first};
    return {range.first - 0.5, 1.0};
}

double minimumSpan(const TimeRange& range, int rows)
{
    if (rows < 2)
        return 1e-3;
    return std::max(4.0 * (range.last - range.first) / (rows - 1), 1e-3);
}

TimeWindow clampWindow(TimeWindow window, const TimeRange& range, double minSpan)
{
    const TimeWindow all = fitAll(range);
    if (!(window.span < all.span))
        return all;
    window.span = std::max(window.span, std::min(minSpan, all.span));
    window.start = std::clamp(window.start, all.start, all.end() - window.span);
    return window;
}

TimeWindow zoomWindow(const TimeWindow& window, double factor, double anchor, const TimeRange& range,
                      double minSpan)
{
    const TimeWindow all = fitAll(range);
    const double share = window.span > 0 ? (anchor - window.start) / window.span : 0.5;
    const double span = std::clamp(window.span / factor, std::min(minSpan, all.span), all.span);
    return clampWindow({anchor - share * span, span}, range, minSpan);
}

TimeWindow scrollWindow(const TimeWindow& window, double seconds, const TimeRange& range, double minSpan)
{
    return clampWindow({window.start + seconds, window.span}, range, minSpan);
}

TimeWindow windowShowing(const TimeWindow& window, double time, const TimeRange& range, double minSpan)
{
    TimeWindow moved = window;
    if (time < window.start)
        moved.start = time;
    else if (time > window.end())
        moved.start = time - window.span;
    return clampWindow(moved, range, minSpan);
}

double xOfTime(const TimeWindow& window, const PlotRect& plot, double time)
{
    return plot.left + (time - window.start) / window.span * (plot.width - 1);
}

double timeAtX(const TimeWindow& window, const PlotRect& plot, double x)
{
    return window.start + (x - plot.left) / std::max(plot.width - 1, 1) * window.span;
}

int yOfValue(const PlotRect& plot, int value)
{
    return plot.top + static_cast<int>(std::lround((255 - value) * (plot.height - 1) / 255.0));
}

int rowNearest(const std::vector<double>& seconds, double time)
{
    if (seconds.empty())
        return -1;
    const auto after = std::lower_bound(seconds.begin(), seconds.end(), time);
    if (after == seconds.begin())
        return 0;
    if (after == seconds.end())
        return static_cast<int>(seconds.size()) - 1;
    const auto before = after - 1;
    // Of equal times the first row is the one the cursor takes.
    const auto firstBefore = std::lower_bound(seconds.begin(), before, *before);
    return static_cast<int>((*after - time < time - *before ? after : firstBefore) - seconds.begin());
}

TimeTicks timeTicks(const TimeWindow& window, const PlotRect& plot, int minPixels)
{
    TimeTicks ticks;
    const int most = std::max(plot.width / std::max(minPixels, 1), 1);
    const double rough = window.span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    ticks.step = power * 10;
    for (const double mantissa : {1.0, 2.0, 5.0})
        if (power * mantissa >= rough) {
            ticks.step = power * mantissa;
            break;
        }
    ticks.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(ticks.step) + 1e-9)));
    // Counted in steps, at most the `most` the plot has room for and the
    // ends: times far beyond a step's precision (a CSV's seconds may be any
    // size) can neither overflow a count nor hold the loop on one time.
    const double firstTick = std::ceil(window.start / ticks.step - 1e-9);
    for (int k = 0; k <= most + 1; ++k) {
        const double time = (firstTick + k) * ticks.step;
        if (time > window.end() + ticks.step * 1e-9)
            break;
        ticks.times.push_back(time);
    }
    return ticks;
}

std::string tickText(double time, int decimals)
{
    std::string text = formatFixed(time, decimals);
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-')
        text.erase(0, 1);  // no "-0.0"
    return text;
}

std::vector<TracePoint> tracePoints(const std::vector<double>& seconds, const std::vector<std::uint8_t>& values,
                                    const TimeWindow& window, const PlotRect& plot)
{
    return tracePoints(seconds, values, window, plot, RowSpan{0, std::min(seconds.size(), values.size())});
}

std::vector<TracePoint> tracePoints(const std::vector<double>& seconds, const std::vector<std::uint8_t>& values,
                                    const TimeWindow& window, const PlotRect& plot, RowSpan span)
{
    std::vector<TracePoint> points;
    const std::size_t rows = std::min({seconds.size(), values.size(), span.end});
    if (span.first >= rows)
        return points;
    const auto begin = seconds.begin() + static_cast<std::ptrdiff_t>(span.first);
    const auto end = seconds.begin() + static_cast<std::ptrdiff_t>(rows);
    // From the row before the window to the row after it, so the trace runs
    // to the plot's edges.
    std::size_t from = static_cast<std::size_t>(std::lower_bound(begin, end, window.start) - seconds.begin());
    std::size_t to = static_cast<std::size_t>(std::upper_bound(begin, end, window.end()) - seconds.begin());
    from = from > span.first ? from - 1 : span.first;
    to = std::min(to + 1, rows);

    auto columnOf = [&](std::size_t row) {
        const double x = std::clamp(xOfTime(window, plot, seconds[row]), plot.left - kFarOutside,
                                    plot.right() + kFarOutside);
        return static_cast<int>(std::floor(x + 0.5));
    };
    auto add = [&](int x, int value) {
        const TracePoint point{x, yOfValue(plot, value)};
        if (points.empty() || !(points.back() == point))
            points.push_back(point);
    };
    std::size_t row = from;
    while (row < to) {
        const int x = columnOf(row);
        std::size_t end = row + 1;
        std::size_t least = row;
        std::size_t greatest = row;
        while (end < to && columnOf(end) == x) {
            if (values[end] < values[least])
                least = end;
            if (values[end] > values[greatest])
                greatest = end;
            ++end;
        }
        add(x, values[row]);
        add(x, values[std::min(least, greatest)]);
        add(x, values[std::max(least, greatest)]);
        add(x, values[end - 1]);
        row = end;
    }
    return points;
}

std::vector<RowSpan> spansBetweenGaps(int rows, const std::vector<RunGap>& gaps)
{
    std::vector<RowSpan> spans;
    std::size_t first = 0;
    for (const RunGap& gap : gaps) {
        const auto end = static_cast<std::size_t>(gap.before) + 1;
        if (gap.before < 0 || end <= first || end >= static_cast<std::size_t>(rows))
            continue;
        spans.push_back({first, end});
        first = end;
    }
    if (rows > 0)
        spans.push_back({first, static_cast<std::size_t>(rows)});
    return spans;
}

std::vector<GapColumns> gapColumns(const std::vector<double>& seconds, const std::vector<RunGap>& gaps,
                                   const TimeWindow& window, const PlotRect& plot)
{
    std::vector<GapColumns> columns;
    for (const RunGap& gap : gaps) {
        const auto before = static_cast<std::size_t>(gap.before);
        if (gap.before < 0 || before + 1 >= seconds.size())
            continue;
        // Held just outside the plot, so times of any size (or none) give small numbers.
        auto inReach = [&](double x) {
            return x > plot.left - 1.0 ? std::min(x, plot.right() + 1.0) : plot.left - 1.0;
        };
        const double left = inReach(xOfTime(window, plot, seconds[before]));
        const double right = inReach(xOfTime(window, plot, seconds[before + 1]));
        const GapColumns place{static_cast<int>(std::floor(left + 0.5)) + 1,
                               static_cast<int>(std::floor(right + 0.5)) - 1};
        if (place.left <= place.right)
            columns.push_back(place);
    }
    return columns;
}

LabelBox cursorLabelBox(const PlotRect& plot, int x, int textWidth, int textHeight)
{
    LabelBox box{x + 3, plot.top + 1, textWidth, textHeight};
    if (box.x + box.width - 1 > plot.right())
        box.x = x - 3 - box.width;
    box.x = std::max(box.x, plot.left);
    return box;
}

std::vector<LegendPlace> legendPlaces(const std::vector<int>& textWidths, int left, int width)
{
    std::vector<LegendPlace> places;
    int x = left;
    int row = 0;
    for (const int textWidth : textWidths) {
        const int entry = kLegendSwatch + 4 + textWidth;
        if (x > left && x + entry > left + width) {
            x = left;
            ++row;
        }
        places.push_back({x, row});
        x += entry + kLegendGap;
    }
    return places;
}

int legendRows(const std::vector<LegendPlace>& places)
{
    return places.empty() ? 0 : places.back().row + 1;
}

}  // namespace tavo
