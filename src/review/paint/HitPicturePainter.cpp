#include "review/paint/HitPicturePainter.h"

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>

#include "review/HitPictureGeometry.h"
#include "rom/RomImage.h"
#include "viewer/paint/GraphPainter.h"

namespace tavo {

namespace {

const QColor kShade(255, 150, 0);
const QColor kBar(200, 90, 0);
const QColor kFrame(160, 160, 160);
const QColor kNoHits(150, 150, 150);
// The deepest shade leaves this much of the white.
constexpr double kDeepestShade = 0.6;

QFont pictureFont()
{
    QFont font;
    font.setPixelSize(11);
    return font;
}

QColor shadeFor(double share)
{
    const double s = share * kDeepestShade;
    auto mix = [s](int white, int colour) { return static_cast<int>(white + (colour - white) * s); };
    return QColor(mix(255, kShade.red()), mix(255, kShade.green()), mix(255, kShade.blue()));
}

}  // namespace

QImage hitCountPicture(const RomImage& rom, int index, const HitCounts& counts, int scale)
{
    const TableDef& def = rom.tables[static_cast<std::size_t>(index)];
    const std::vector<int> xs = pointXs(tablePoints(rom, def));
    const QFontMetrics metrics(pictureFont());
    std::vector<int> widths;
    for (std::size_t i = 0; i < xs.size(); ++i)
        widths.push_back(metrics.horizontalAdvance(QString::number(i < counts.hits.size() ? counts.hits[i] : 0)));
    const HitPicture layout = hitPicture(xs, counts, widths, scale);

    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage graph;
    drawTableGraph(graph, rom, index, nullptr);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect graphRect(layout.graphLeft, layout.graphTop, layout.graphSize, layout.graphSize);
    painter.drawImage(graphRect, graph);

    // Multiplying keeps the curve and the markers as they are and tints the white.
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    for (const HitShade& shade : layout.shades)
        if (shade.share > 0)
            painter.fillRect(QRect(shade.left, layout.graphTop, shade.width, layout.graphSize), shadeFor(shade.share));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const HitBar& bar : layout.bars)
        painter.fillRect(QRect(bar.left, bar.top, kHitBarWidth, bar.height), kBar);
    painter.setPen(kFrame);
    painter.drawRect(graphRect.adjusted(-1, -1, 0, 0));

    painter.setFont(pictureFont());
    for (const HitLabel& label : layout.labels) {
        const auto point = static_cast<std::size_t>(label.point);
        const int hits = point < counts.hits.size() ? counts.hits[point] : 0;
        painter.setPen(hits > 0 ? Qt::black : kNoHits);
        painter.drawText(QRect(label.centre - 40, label.top, 80, kHitLabelRowHeight), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(hits));
    }
    painter.setPen(Qt::black);
    painter.drawText(QRect(layout.graphLeft, layout.summaryTop, layout.graphSize, kHitLabelRowHeight),
                     Qt::AlignLeft | Qt::AlignTop,
                     QString("rows %1   below %2   above %3").arg(counts.rows).arg(counts.below).arg(counts.above));
    return picture;
}

}  // namespace tavo
