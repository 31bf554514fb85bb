#include "review/qt/ReviewChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tavo {

namespace {

constexpr double kKeyZoom = 2.0;
constexpr double kWheelZoomPerNotch = 1.25;
constexpr int kBigCursorStep = 10;

}  // namespace

ReviewChartView::ReviewChartView(const LogRun& run, const TracePens& pens, QWidget* parent)
    : QWidget(parent), run_(run), pens_(pens), range_(timeRange(run.seconds)),
      minSpan_(minimumSpan(range_, run.rowCount()))
{
    setObjectName("reviewChart");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    view_.window = tavo::fitAll(range_);
    view_.shown.assign(run.channels.size(), true);
    view_.cursorRow = run.rowCount() > 0 ? 0 : -1;
}

PlotRect ReviewChartView::plot() const
{
    return reviewPlotRect(width(), height(), run_);
}

void ReviewChartView::redrawTraces()
{
    if (width() <= 0 || height() <= 0)
        return;
    if (traces_.size() != size())
        traces_ = QImage(size(), QImage::Format_RGB32);
    drawReviewChart(traces_, run_, view_, pens_);
    update();
}

void ReviewChartView::setShown(std::size_t channel, bool shown)
{
    if (channel >= view_.shown.size() || view_.shown[channel] == shown)
        return;
    view_.shown[channel] = shown;
    redrawTraces();
}

void ReviewChartView::setWindow(const TimeWindow& window)
{
    const TimeWindow clamped = clampWindow(window, range_, minSpan_);
    if (clamped == view_.window)
        return;
    view_.window = clamped;
    redrawTraces();
    emit windowChanged();
}

void ReviewChartView::zoom(double factor)
{
    double anchor = view_.window.start + view_.window.span / 2;
    if (view_.cursorRow >= 0) {
        const double cursor = run_.seconds[static_cast<std::size_t>(view_.cursorRow)];
        if (cursor >= view_.window.start && cursor <= view_.window.end())
            anchor = cursor;
    }
    setWindow(zoomWindow(view_.window, factor, anchor, range_, minSpan_));
}

void ReviewChartView::fitAll()
{
    setWindow(tavo::fitAll(range_));
}

void ReviewChartView::setCursorRow(int row)
{
    if (run_.rowCount() == 0)
        return;
    row = std::clamp(row, 0, run_.rowCount() - 1);
    const bool moved = row != view_.cursorRow;
    view_.cursorRow = row;
    setWindow(windowShowing(view_.window, run_.seconds[static_cast<std::size_t>(row)], range_, minSpan_));
    if (moved) {
        update();
        emit cursorMoved(row);
    }
}

QImage ReviewChartView::picture() const
{
    return reviewChartPicture(std::max(width(), 1), std::max(height(), 1), run_, view_, pens_);
}

void ReviewChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (traces_.size() != size()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(0, 0, traces_);
    drawReviewCursor(painter, plot(), run_, view_, pens_);
}

void ReviewChartView::resizeEvent(QResizeEvent*)
{
    redrawTraces();
}

void ReviewChartView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    const double notches = (delta.x() != 0 ? delta.x() : delta.y()) / 120.0;
    if (sideways) {
        // Each notch scrolls a tenth of the window, back when rolled up.
        setWindow(scrollWindow(view_.window, -notches * view_.window.span / 10, range_, minSpan_));
    } else {
        const double anchor = timeAtX(view_.window, plot(), event->position().x());
        setWindow(zoomWindow(view_.window, std::pow(kWheelZoomPerNotch, notches), anchor, range_, minSpan_));
    }
    event->accept();
}

void ReviewChartView::cursorToX(double x)
{
    const PlotRect area = plot();
    setCursorRow(rowNearest(run_.seconds, timeAtX(view_.window, area, std::clamp<double>(x, area.left, area.right()))));
}

void ReviewChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        cursorToX(event->position().x());
}

void ReviewChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        cursorToX(event->position().x());
}

void ReviewChartView::keyPressEvent(QKeyEvent* event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? kBigCursorStep : 1;
    switch (event->key()) {
    case Qt::Key_Left: setCursorRow(view_.cursorRow - step); break;
    case Qt::Key_Right: setCursorRow(view_.cursorRow + step); break;
    case Qt::Key_Home: setCursorRow(0); break;
    case Qt::Key_End: setCursorRow(run_.rowCount() - 1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom(kKeyZoom); break;
    case Qt::Key_Minus: zoom(1 / kKeyZoom); break;
    case Qt::Key_PageUp: setWindow(scrollWindow(view_.window, -view_.window.span, range_, minSpan_)); break;
    case Qt::Key_PageDown: setWindow(scrollWindow(view_.window, view_.window.span, range_, minSpan_)); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace tavo
