#pragma once
// The log window's chart: the whole run at first, zoomed along time by the
// wheel (around the mouse), "+" and "-" (around the cursor) and "fit all";
// scrolled by the window's scroll bar, Shift+wheel and Page Up/Down. The
// cursor follows a click or a drag, the arrow keys (Shift: ten rows), Home
// and End. The traces are drawn once per change of view into a picture; a
// cursor move paints that picture and the cursor over it.

#include <QImage>
#include <QWidget>

#include "logging/paint/TracePens.h"
#include "review/paint/ReviewChartPainter.h"

namespace tavo {

class ReviewChartView : public QWidget {
    Q_OBJECT
public:
    ReviewChartView(const LogRun& run, const TracePens& pens, QWidget* parent = nullptr);

    const ChartView& view() const { return view_; }
    const TimeRange& range() const { return range_; }
    PlotRect plot() const;

    void setShown(std::size_t channel, bool shown);
    void setWindow(const TimeWindow& window);
    void zoom(double factor);  // around the cursor when it is in sight, else the middle
    void fitAll();
    // Moves the cursor to the row (clamped to the run) and scrolls it into sight.
    void setCursorRow(int row);

    // The chart with its cursor, as shown.
    QImage picture() const;

    QSize sizeHint() const override { return {760, 420}; }
    QSize minimumSizeHint() const override { return {320, 200}; }

signals:
    void cursorMoved(int row);
    void windowChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void redrawTraces();
    void cursorToX(double x);

    const LogRun& run_;
    const TracePens& pens_;
    TimeRange range_;
    double minSpan_ = 1;
    ChartView view_;
    QImage traces_;  // everything but the cursor, at the widget's size
};

}  // namespace tavo
