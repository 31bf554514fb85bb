#include "live/paint/LiveHitsPainter.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include "viewer/GraphMapping.h"

namespace tavo {

namespace {

// The Hit Counts tab's shade, so that one colour means hits everywhere.
const QColor kShade(255, 150, 0);
// The deepest shade leaves this much of the white.
constexpr double kDeepestShade = 0.6;

QColor shadeFor(double strength)
{
    const double s = strength * kDeepestShade;
    auto mix = [s](int white, int colour) { return static_cast<int>(white + (colour - white) * s); };
    return QColor(mix(255, kShade.red()), mix(255, kShade.green()), mix(255, kShade.blue()));
}

}  // namespace

void paintLiveHits(QPainter& painter, const std::vector<LiveHitShade>& shades)
{
    if (shades.empty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    for (const LiveHitShade& shade : shades)
        painter.fillRect(QRect(shade.left, 0, shade.width, kGraphBitmapSize), shadeFor(shade.strength));
    painter.restore();
}

}  // namespace tavo
