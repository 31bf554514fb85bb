#pragma once
// The Quick Viewer's table graph as a widget: the 258 x 258 graph image of
// the entry shown (with the comparison curve while one is loaded), the
// rubber band of a dragged point, the cursor's read-outs, and a drop that
// stores the point through the viewer's commands.
//
// Positions are the dialog's client pixels throughout, as the drag and the
// read-outs reckon them: the widget sits at (400, 0) and reaches down to the
// graph's last row, so a band to a 5-byte point above the graph shows in the
// strip over it, as it always did. The dialog hands on the mouse events that
// reach it itself (a press beside the graph, a test's events).
//
// Later views draw over the curve through the overlay, without touching the
// graph image: a marker or a trail, repainted at most 30 times a second.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QPainter;

namespace tavo {

class QuickViewerCommands;
struct RomImage;

class TableGraphView : public QWidget {
    Q_OBJECT
public:
    // `comparison` is drawn behind the curve while `comparisonLoaded` is set.
    TableGraphView(QuickViewerCommands& commands, const RomImage& comparison, const bool& comparisonLoaded,
                   QWidget* parent);

    // Where the graph image sits in the dialog, and where the widget does.
    static QRect graphRect();
    static QRect place();

    // The graph image as last drawn; null before the first drawing and
    // after clear().
    const QImage& image() const { return image_; }
    // Draws the entry shown again from what the image now holds.
    void redraw();
    // Forgets the image and a band (the list is built again, the viewer closes).
    void clear();
    // A drag in progress is over without a drop: its band goes.
    void endDrag();

    // The mouse at dialog client position `at`; true when the graph took it
    // (in the graph view, the left button for presses and releases).
    bool press(Qt::MouseButton button, QPoint at);
    bool moveTo(QPoint at);
    bool release(Qt::MouseButton button, QPoint at);

    // Draws over the graph image and under the band; the painter's origin is
    // the image's top-left pixel (graph pixel (0, 0)). None by default.
    using Overlay = std::function<void(QPainter&)>;
    void setOverlay(Overlay overlay);
    // The overlay changed: repainted within 33 ms, however often this comes.
    void overlayChanged();

signals:
    // The read-outs under the graph for the cursor's place ("in: ...", "out: ...").
    void readoutsChanged(const QString& in, const QString& out);
    // The graph image was drawn again: the entry, or what the image holds of it, changed.
    void redrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool dragShown() const;
    // The band's bounds around the cursor, in dialog pixels; empty without one.
    QRect bandRect() const;
    // Repaints a region given in dialog pixels.
    void updateDialogRect(const QRect& rect);

    QuickViewerCommands& commands_;
    const RomImage& comparison_;
    const bool& comparisonLoaded_;
    QImage image_;
    std::optional<QPoint> bandCursor_;  // the cursor while a point is dragged over the graph
    Overlay overlay_;
    QTimer frame_;
};

}  // namespace tavo
