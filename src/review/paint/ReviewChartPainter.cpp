#include "review/paint/ReviewChartPainter.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtCore/QBuffer>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/TextFormat.h"

namespace tavo {

namespace {

const QColor kMargin(24, 24, 24);
const QColor kText(205, 205, 205);
const QColor kHiddenText(110, 110, 110);
const QColor kDimGrid(0, 128, 0);      // the live chart's grid
const QColor kBrightGrid(0, 192, 0);
const QColor kCursor(230, 230, 230);
const QColor kGap(96, 0, 0);           // the live chart's colour for a silence
constexpr int kTickSpacing = 70;       // pixels between time labels, at least
constexpr int kFontPixels = 11;

QFont chartFont()
{
    QFont font;
    font.setPixelSize(kFontPixels);
    return font;
}

bool isShown(const ChartView& view, std::size_t channel)
{
    return channel >= view.shown.size() || view.shown[channel];
}

QColor traceColour(const TracePens& pens, int slot)
{
    return pens[static_cast<std::size_t>(std::clamp(slot, 0, kTraceCount - 1))].color();
}

std::vector<LegendPlace> legendOf(const LogRun& run, const QFontMetrics& metrics, int width)
{
    std::vector<int> widths;
    for (const RunChannel& channel : run.channels)
        widths.push_back(metrics.horizontalAdvance(QString::fromUtf8(channel.title)));
    return legendPlaces(widths, kChartLeftMargin, width - kChartLeftMargin - kChartRightMargin);
}

void drawLegend(QPainter& painter, const LogRun& run, const ChartView& view, const TracePens& pens,
                const std::vector<LegendPlace>& places)
{
    for (std::size_t c = 0; c < run.channels.size(); ++c) {
        const int top = 6 + places[c].row * kChartLegendRowHeight;
        const QRect swatch(places[c].x, top + 4, kLegendSwatch, kChartLegendRowHeight - 8);
        const bool shown = isShown(view, c);
        painter.setPen(traceColour(pens, run.channels[c].slot));
        painter.setBrush(shown ? QBrush(traceColour(pens, run.channels[c].slot)) : QBrush(Qt::NoBrush));
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(shown ? kText : kHiddenText);
        painter.drawText(QRect(swatch.right() + 5, top, 1000, kChartLegendRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(run.channels[c].title));
    }
}

void drawGrid(QPainter& painter, const PlotRect& plot, const TimeTicks& ticks, const LogRun& run,
              const ChartView& view)
{
    painter.fillRect(QRect(plot.left, plot.top, plot.width, plot.height), Qt::black);
    for (const GapColumns& gap : gapColumns(run.seconds, run.gaps, view.window, plot))
        painter.fillRect(QRect(gap.left, plot.top, gap.right - gap.left + 1, plot.height), kGap);
    painter.setPen(kDimGrid);
    for (const double time : ticks.times) {
        const int x = static_cast<int>(std::floor(xOfTime(view.window, plot, time) + 0.5));
        painter.drawLine(x, plot.top, x, plot.bottom());
    }
    for (int value = 32; value < 255; value += 32) {
        painter.setPen(value == 128 ? kBrightGrid : kDimGrid);
        painter.drawLine(plot.left, yOfValue(plot, value), plot.right(), yOfValue(plot, value));
    }
    painter.setPen(kDimGrid);
    painter.drawRect(plot.left - 1, plot.top - 1, plot.width + 1, plot.height + 1);
}

void drawScales(QPainter& painter, const PlotRect& plot, const TimeTicks& ticks, const LogRun& run,
                const ChartView& view)
{
    painter.setPen(kText);
    for (const int value : {0, 64, 128, 192, 255})
        painter.drawText(QRect(0, yOfValue(plot, value) - 8, plot.left - 5, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(value));
    const int labelTop = plot.bottom() + 3;
    for (const double time : ticks.times) {
        const int x = static_cast<int>(std::floor(xOfTime(view.window, plot, time) + 0.5));
        painter.drawText(QRect(x - 40, labelTop, 80, 14), Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromStdString(tickText(time, ticks.decimals)));
    }
    painter.drawText(QRect(plot.left, labelTop + 17, plot.width, 14), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromStdString(timeAxisText(run)));
}

}  // namespace

PlotRect reviewPlotRect(int width, int height, const LogRun& run)
{
    const QFontMetrics metrics(chartFont());
    return plotRect(width, height, legendRows(legendOf(run, metrics, width)));
}

void drawReviewChart(QImage& image, const LogRun& run, const ChartView& view, const TracePens& pens)
{
    if (image.isNull())
        return;
    image.fill(kMargin);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(chartFont());
    const std::vector<LegendPlace> places = legendOf(run, painter.fontMetrics(), image.width());
    const PlotRect plot = plotRect(image.width(), image.height(), legendRows(places));
    const TimeTicks ticks = timeTicks(view.window, plot, kTickSpacing);

    drawLegend(painter, run, view, pens, places);
    drawGrid(painter, plot, ticks, run, view);
    drawScales(painter, plot, ticks, run, view);
    if (run.rowCount() == 0) {
        painter.setPen(kText);
        painter.drawText(QRect(plot.left, plot.top, plot.width, plot.height), Qt::AlignCenter, "No logged rows");
        return;
    }

    painter.setClipRect(QRect(plot.left, plot.top, plot.width, plot.height));
    std::vector<QPoint> polyline;
    // A trace of its own between gaps: no line crosses a silence.
    const std::vector<RowSpan> spans = spansBetweenGaps(run.rowCount(), run.gaps);
    for (std::size_t c = 0; c < run.channels.size(); ++c) {
        if (!isShown(view, c))
            continue;
        painter.setPen(pens[static_cast<std::size_t>(std::clamp(run.channels[c].slot, 0, kTraceCount - 1))]);
        for (const RowSpan& span : spans) {
            const std::vector<TracePoint> points =
                tracePoints(run.seconds, run.channels[c].values, view.window, plot, span);
            polyline.clear();
            for (const TracePoint& point : points)
                polyline.emplace_back(point.x, point.y);
            if (polyline.size() == 1)
                painter.drawPoint(polyline.front());
            else if (polyline.size() > 1)
                painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
        }
    }
}

void drawReviewCursor(QPainter& painter, const PlotRect& plot, const LogRun& run, const ChartView& view,
                      const TracePens& pens)
{
    const int row = view.cursorRow;
    if (row < 0 || row >= run.rowCount())
        return;
    const double time = run.seconds[static_cast<std::size_t>(row)];
    const int x = static_cast<int>(std::floor(xOfTime(view.window, plot, time) + 0.5));
    if (x < plot.left || x > plot.right())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen line(kCursor, 1, Qt::DashLine);
    painter.setPen(line);
    painter.drawLine(x, plot.top, x, plot.bottom());
    for (std::size_t c = 0; c < run.channels.size(); ++c) {
        if (!isShown(view, c))
            continue;
        const int y = yOfValue(plot, run.channels[c].values[static_cast<std::size_t>(row)]);
        painter.setPen(Qt::black);
        painter.setBrush(traceColour(pens, run.channels[c].slot));
        painter.drawRect(x - 3, y - 3, 6, 6);
    }
    painter.setFont(chartFont());
    const QString text = QString::fromStdString(runTimeText(run, row));
    const LabelBox place = cursorLabelBox(plot, x, painter.fontMetrics().horizontalAdvance(text) + 8, 15);
    const QRect box(place.x, place.y, place.width, place.height);
    painter.setPen(kCursor);
    painter.setBrush(kMargin);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

QImage reviewChartPicture(int width, int height, const LogRun& run, const ChartView& view, const TracePens& pens)
{
    QImage picture(width, height, QImage::Format_RGB32);
    drawReviewChart(picture, run, view, pens);
    QPainter painter(&picture);
    drawReviewCursor(painter, reviewPlotRect(width, height, run), run, view, pens);
    return picture;
}

FileStatus savePng(const std::string& path, const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        return FileStatus::fromErrno(EIO);
    return writeFileAtomically(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace tavo
