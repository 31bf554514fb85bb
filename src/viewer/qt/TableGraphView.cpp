#include "viewer/qt/TableGraphView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <utility>

#include "common/qt/QtText.h"
#include "rom/RomImage.h"
#include "viewer/GraphMapping.h"
#include "viewer/GraphReadouts.h"
#include "viewer/PointDrag.h"
#include "viewer/QuickViewerCommands.h"
#include "viewer/QuickViewerState.h"
#include "viewer/paint/GraphPainter.h"

namespace tavo {

namespace {

// The overlay is repainted at most 30 times a second: a marker moves
// smoothly at that rate, and a faster one only costs the engine's laptop.
constexpr int kFrameMs = 33;

}  // namespace

TableGraphView::TableGraphView(QuickViewerCommands& commands, const RomImage& comparison,
                               const bool& comparisonLoaded, QWidget* parent)
    : QWidget(parent), commands_(commands), comparison_(comparison), comparisonLoaded_(comparisonLoaded), frame_(this)
{
    setGeometry(place());
    setMouseTracking(true);
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, [this] { update(); });
}

QRect TableGraphView::graphRect()
{
    return {kGraphLeft, kGraphTop, kGraphBitmapSize, kGraphBitmapSize};
}

QRect TableGraphView::place()
{
    return {kGraphLeft, 0, kGraphBitmapSize, kGraphTop + kGraphBitmapSize};
}

void TableGraphView::redraw()
{
    const RomImage& rom = commands_.rom();
    drawTableGraph(image_, rom, currentEntryIndex(commands_.state(), rom), comparisonLoaded_ ? &comparison_ : nullptr);
    updateDialogRect(graphRect());
    emit redrawn();
}

void TableGraphView::clear()
{
    image_ = QImage();
    bandCursor_.reset();
}

void TableGraphView::endDrag()
{
    bandCursor_.reset();
}

void TableGraphView::setOverlay(Overlay overlay)
{
    overlay_ = std::move(overlay);
    overlayChanged();
}

void TableGraphView::overlayChanged()
{
    if (!frame_.isActive())
        frame_.start();
}

bool TableGraphView::dragShown() const
{
    const QuickViewerState& state = commands_.state();
    return state.dragging && state.dragIndex != -1 && bandCursor_;
}

QRect TableGraphView::bandRect() const
{
    if (!bandCursor_)
        return {};
    const auto band = rubberBand(commands_.state(), bandCursor_->x(), bandCursor_->y());
    int left = band[0].x, right = band[0].x, top = band[0].y, bottom = band[0].y;
    for (const DialogPoint& p : band) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-1, -1, 1, 1);
}

void TableGraphView::updateDialogRect(const QRect& rect)
{
    update(rect.translated(-place().topLeft()));
}

void TableGraphView::paintEvent(QPaintEvent*)
{
    const QuickViewerState& state = commands_.state();
    if (!state.graphMode)
        return;
    QPainter painter(this);
    painter.translate(-place().topLeft());  // dialog pixels from here on
    if (!image_.isNull())
        painter.drawImage(graphRect().topLeft(), image_);
    if (overlay_) {
        painter.save();
        painter.translate(graphRect().topLeft());
        overlay_(painter);
        painter.restore();
    }
    if (dragShown()) {
        const auto band = rubberBand(state, bandCursor_->x(), bandCursor_->y());
        QPen pen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const QPoint points[] = {{band[0].x, band[0].y}, {band[1].x, band[1].y}, {band[2].x, band[2].y}};
        painter.drawPolyline(points, 3);
    }
}

bool TableGraphView::press(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton || !commands_.state().graphMode)
        return false;
    bandCursor_.reset();
    beginPointDrag(commands_.state(), commands_.rom(), at.x(), at.y());
    return true;
}

bool TableGraphView::moveTo(QPoint at)
{
    QuickViewerState& state = commands_.state();
    if (!state.graphMode)
        return false;
    if (state.dragging) {
        // Wipe the previous band: the area is repainted from the image.
        updateDialogRect(bandRect() | graphRect());
        bandCursor_.reset();
    }
    const auto readouts = updateReadouts(state, commands_.rom(), at.x(), at.y());
    if (!readouts)
        return true;
    emit readoutsChanged(recordText(readouts->in), recordText(readouts->out));
    if (state.dragging && state.dragIndex != -1) {
        bandCursor_ = at;
        updateDialogRect(bandRect());
    }
    return true;
}

bool TableGraphView::release(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton || !commands_.state().graphMode)
        return false;
    const QRect oldBand = bandRect();
    bandCursor_.reset();
    if (commands_.dropPoint(at.x(), at.y())) {
        redraw();
        updateDialogRect(oldBand);
    }
    return true;
}

// Over the widget the positions are its own: the dialog's less the widget's place.
void TableGraphView::mousePressEvent(QMouseEvent* event)
{
    if (!press(event->button(), event->position().toPoint() + place().topLeft()))
        event->ignore();
}

void TableGraphView::mouseMoveEvent(QMouseEvent* event)
{
    if (!moveTo(event->position().toPoint() + place().topLeft()))
        event->ignore();
}

void TableGraphView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!release(event->button(), event->position().toPoint() + place().topLeft()))
        event->ignore();
}

}  // namespace tavo
