#include "viewer/paint/GraphPainter.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include <cstddef>
#include <vector>

#include "rom/RomImage.h"

namespace tavo {

namespace {

// The calibration tools this graph comes from drew with GDI: a line covers
// its first pixel and not its last, so consecutive lines of a curve meet
// without a doubled pixel. QPainter does the same, without antialiasing,
// with a flat cap: a cosmetic 1-pixel line then leaves out its end pixel,
// and a 2-pixel line from (x0, y) to (x1, y) fills columns x0 to x1 - 1 of
// rows y - 1 and y, which is where GDI puts a 2-pixel pen. Connected lines of
// one pen are stroked as one polyline with round joins, so the bends of the
// 2-pixel curve close as GDI's round pen ends close them.
QPen penFor(GraphPen pen)
{
    auto thin = [](QColor colour, Qt::PenStyle style = Qt::SolidLine) {
        QPen p(colour, 1, style, Qt::FlatCap, Qt::RoundJoin);
        p.setCosmetic(true);
        return p;
    };
    switch (pen) {
    case GraphPen::Tick:
        return thin(QColor(0, 192, 0));
    case GraphPen::CentreLine: {
        // GDI's dash: 18 pixels drawn, 6 left out.
        QPen dashed = thin(QColor(0, 0, 255), Qt::CustomDashLine);
        dashed.setDashPattern({18.0, 6.0});
        return dashed;
    }
    case GraphPen::Comparison:
        return QPen(QColor(220, 220, 220), 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    case GraphPen::Curve:
        return QPen(QColor(0, 0, 0), 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    case GraphPen::Marker:
        return thin(QColor(0, 0, 255));
    }
    return thin(QColor(0, 0, 0));
}

void strokePolyline(QPainter& painter, GraphPen pen, const std::vector<QPoint>& points)
{
    if (points.size() < 2)
        return;
    painter.setPen(penFor(pen));
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

}  // namespace

void drawTableGraph(QImage& bitmap, const RomImage& rom, int index, const RomImage* comparison)
{
    if (bitmap.isNull() || bitmap.width() != kGraphBitmapSize || bitmap.height() != kGraphBitmapSize)
        bitmap = QImage(kGraphBitmapSize, kGraphBitmapSize, QImage::Format_RGB32);
    bitmap.fill(Qt::white);

    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Runs of connected segments of one pen become one polyline; a line of
    // no length draws nothing, as with GDI.
    const std::vector<GraphSegment> segments = tableGraphSegments(rom, index, comparison);
    std::vector<QPoint> run;
    GraphPen runPen = GraphPen::Tick;
    for (const GraphSegment& segment : segments) {
        if (segment.from == segment.to)
            continue;
        const bool continues = !run.empty() && runPen == segment.pen && run.back() == QPoint(segment.from.x, segment.from.y);
        if (!continues) {
            strokePolyline(painter, runPen, run);
            run.clear();
            run.emplace_back(segment.from.x, segment.from.y);
            runPen = segment.pen;
        }
        run.emplace_back(segment.to.x, segment.to.y);
    }
    strokePolyline(painter, runPen, run);
}

}  // namespace tavo
