#pragma once
// Draws a logged run as the log window shows it: the traces in the live
// chart's colours on its black field and green grid, the raw value scale
// (0 to 255) at the left, the time below with the axis's name, and a legend
// naming each trace above. The cursor is drawn over it separately, so that
// moving it redraws only a line and its markers.

#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "logging/paint/TracePens.h"
#include "review/ChartGeometry.h"
#include "review/LogRun.h"

namespace tavo {

// What the chart shows of the run.
struct ChartView {
    TimeWindow window;
    std::vector<bool> shown;  // per channel of the run; a channel beyond it is shown
    int cursorRow = -1;       // -1: no cursor
};

// The plot area of a chart image of that size (the legend's rows depend on
// the titles' widths in the chart's font).
PlotRect reviewPlotRect(int width, int height, const LogRun& run);

// Everything but the cursor, into `image` (which keeps its size; a null
// image is left alone).
void drawReviewChart(QImage& image, const LogRun& run, const ChartView& view, const TracePens& pens);

// The cursor over a drawn chart: a line at its row's time, a marker on each
// shown trace, the row's time at the foot.
void drawReviewCursor(QPainter& painter, const PlotRect& plot, const LogRun& run, const ChartView& view,
                      const TracePens& pens);

// The chart with its cursor, as one picture.
QImage reviewChartPicture(int width, int height, const LogRun& run, const ChartView& view, const TracePens& pens);

// A picture saved as PNG through the safe save, under exactly the bytes of
// `path`; the status says why it failed.
FileStatus savePng(const std::string& path, const QImage& picture);

}  // namespace tavo
