#include "live/paint/LiveMarkerPainter.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPointF>

namespace tavo {

namespace {

const QColor kLive(220, 30, 30);
const QColor kStale(150, 150, 150);

QPointF centreOf(const GraphPixel& at)
{
    return {at.x + 0.5, at.y + 0.5};
}

}  // namespace

void paintLiveMarker(QPainter& painter, const std::optional<LiveMark>& mark, const std::vector<TrailDot>& trail,
                     bool stale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor colour = stale ? kStale : kLive;
    painter.setPen(Qt::NoPen);
    for (const TrailDot& dot : trail) {
        QColor faded = colour;
        faded.setAlphaF(0.15 + 0.55 * dot.strength);
        painter.setBrush(faded);
        painter.drawEllipse(centreOf(dot.mark.at), 2.5, 2.5);
    }
    if (mark) {
        const QPointF centre = centreOf(mark->at);
        if (mark->outside) {
            // Beyond the table's x range: hollow, at the edge point.
            painter.setPen(QPen(colour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre, 5.5, 5.5);
        } else {
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(colour);
            painter.drawEllipse(centre, 5, 5);
        }
    }
    painter.restore();
}

}  // namespace tavo
