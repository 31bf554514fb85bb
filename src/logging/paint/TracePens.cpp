#include "logging/paint/TracePens.h"

namespace tavo {

QPen logGraphPen(const QColor& colour)
{
    // Cosmetic (one pixel whatever the scale) with a flat cap: a line then
    // covers its start pixel and leaves out its end pixel, as GDI's lines do.
    QPen pen(colour, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

TracePens makeTracePens()
{
    static constexpr int kColours[9][3] = {
        {255, 255, 255}, {255, 0, 255}, {0, 255, 0},   {255, 0, 0},   {0, 255, 255},
        {255, 255, 0},   {0, 191, 63},  {0, 0, 255},   {0, 191, 255},
    };
    TracePens pens;
    for (std::size_t i = 0; i < pens.size(); ++i) {
        pens[i] = logGraphPen(QColor(kColours[i][0], kColours[i][1], kColours[i][2]));
    }
    return pens;
}

}  // namespace tavo
