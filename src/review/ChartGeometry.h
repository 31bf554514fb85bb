#pragma once
// The review chart as numbers: which stretch of time the plot shows, where a
// time and a value lie in it, zooming and scrolling within the run, the time
// ticks, the row under the cursor, and each trace as a polyline that keeps
// every column's first, least, greatest and last value however many rows
// share the column. The painter only strokes what these give.

#include <cstdint>
#include <string>
#include <vector>

#include "review/RunGaps.h"

namespace tavo {

// The plot area inside the chart image, in pixels.
struct PlotRect {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    int right() const { return left + width - 1; }
    int bottom() const { return top + height - 1; }
};

// The margins around the plot: the legend's rows above, the value labels to
// the left, the time labels and the axis name below.
inline constexpr int kChartLeftMargin = 40;
inline constexpr int kChartRightMargin = 12;
inline constexpr int kChartBottomMargin = 38;
inline constexpr int kChartLegendRowHeight = 16;
PlotRect plotRect(int imageWidth, int imageHeight, int legendRows);

// The stretch of time shown: from `start` for `span` seconds.
struct TimeWindow {
    double start = 0;
    double span = 1;
    double end() const { return start + span; }
    bool operator==(const TimeWindow&) const = default;
};

// The whole run: its first and last row's times.
struct TimeRange {
    double first = 0;
    double last = 0;
};
TimeRange timeRange(const std::vector<double>& seconds);

// Every row: the whole range, or one second around a run without spread.
TimeWindow fitAll(const TimeRange& range);

// The narrowest window: four rows' average spacing, at least a millisecond.
double minimumSpan(const TimeRange& range, int rows);

// A window kept inside the run: no wider than fitAll, no narrower than
// `minSpan`, and moved back inside the range when it sticks out.
TimeWindow clampWindow(TimeWindow window, const TimeRange& range, double minSpan);

// Zoom by `factor` (above 1 narrows) keeping `anchor` at the same place on
// the screen; then clamped.
TimeWindow zoomWindow(const TimeWindow& window, double factor, double anchor, const TimeRange& range,
                      double minSpan);

// Scrolls by `seconds` (negative: back); then clamped.
TimeWindow scrollWindow(const TimeWindow& window, double seconds, const TimeRange& range, double minSpan);

// A window of the same span that shows `time`, moved as little as needed.
TimeWindow windowShowing(const TimeWindow& window, double time, const TimeRange& range, double minSpan);

// x of a time: the window's start at plot.left, its end at plot.right().
double xOfTime(const TimeWindow& window, const PlotRect& plot, double time);
double timeAtX(const TimeWindow& window, const PlotRect& plot, double x);

// y of a value 0 to 255: 255 at plot.top, 0 at plot.bottom().
int yOfValue(const PlotRect& plot, int value);

// The row whose time is nearest to `time` (the earlier of two as near);
// -1 for a run without rows.
int rowNearest(const std::vector<double>& seconds, double time);

// Tick times inside the window, a round step (1, 2 or 5 x a power of ten)
// apart, at least `minPixels` apart on the plot.
struct TimeTicks {
    double step = 1;
    std::vector<double> times;
    int decimals = 0;  // enough to tell two ticks apart
};
TimeTicks timeTicks(const TimeWindow& window, const PlotRect& plot, int minPixels);
std::string tickText(double time, int decimals);

struct TracePoint {
    int x = 0;
    int y = 0;
    bool operator==(const TracePoint&) const = default;
};

// The trace of one channel in the window: every row from the one before the
// window to the one after it; where several rows share a pixel column, their
// first, least, greatest and last values in the order they came.
std::vector<TracePoint> tracePoints(const std::vector<double>& seconds, const std::vector<std::uint8_t>& values,
                                    const TimeWindow& window, const PlotRect& plot);

// Rows `first` up to but not including `end`.
struct RowSpan {
    std::size_t first = 0;
    std::size_t end = 0;
    bool operator==(const RowSpan&) const = default;
};
// The same, over one span of rows only: no line leaves it.
std::vector<TracePoint> tracePoints(const std::vector<double>& seconds, const std::vector<std::uint8_t>& values,
                                    const TimeWindow& window, const PlotRect& plot, RowSpan span);

// The stretches of rows between gaps, each drawn as a trace of its own so no
// line crosses a silence.
std::vector<RowSpan> spansBetweenGaps(int rows, const std::vector<RunGap>& gaps);

// The pixel columns of each gap in sight, between its two rows' columns
// (both excluded) and inside the plot: from `left` to `right` inclusive.
struct GapColumns {
    int left = 0;
    int right = 0;
    bool operator==(const GapColumns&) const = default;
};
std::vector<GapColumns> gapColumns(const std::vector<double>& seconds, const std::vector<RunGap>& gaps,
                                   const TimeWindow& window, const PlotRect& plot);

// Where the cursor's time label goes: inside the plot at its top, beside the
// cursor line at x (right of it, or left where the plot ends), never over the
// time axis's tick labels below the plot.
struct LabelBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LabelBox&) const = default;
};
LabelBox cursorLabelBox(const PlotRect& plot, int x, int textWidth, int textHeight);

// The legend's entries laid out left to right, wrapping into rows within
// `width`; each entry is a swatch and its text (`textWidths`).
inline constexpr int kLegendSwatch = 18;
inline constexpr int kLegendGap = 14;
struct LegendPlace {
    int x = 0;
    int row = 0;
    bool operator==(const LegendPlace&) const = default;
};
std::vector<LegendPlace> legendPlaces(const std::vector<int>& textWidths, int left, int width);
int legendRows(const std::vector<LegendPlace>& places);

}  // namespace tavo
