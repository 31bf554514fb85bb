#include "viewer/paint/GraphPainter.h"

#include "rom/RomImage.h"

namespace tavo {

void drawTableGraph(QImage& bitmap, const RomImage&, int, const RomImage*)
{
    if (bitmap.isNull())
        bitmap = QImage(kGraphBitmapSize, kGraphBitmapSize, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
}

}  // namespace tavo
