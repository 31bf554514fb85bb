#include "app/qt/TracePens.h"

namespace tavo {

TracePens makeTracePens()
{
    static constexpr int kColours[9][3] = {
        {255, 255, 255}, {255, 0, 255}, {0, 255, 0},   {255, 0, 0},   {0, 255, 255},
        {255, 255, 0},   {0, 191, 63},  {0, 0, 255},   {0, 191, 255},
    };
    TracePens pens;
    for (std::size_t i = 0; i < pens.size(); ++i) {
        QPen pen(QColor(kColours[i][0], kColours[i][1], kColours[i][2]));
        pen.setStyle(Qt::SolidLine);
        pen.setWidth(0);  // cosmetic: one pixel whatever the scale
        pens[i] = pen;
    }
    return pens;
}

}  // namespace tavo
