#include "viewer/paint/GraphPng.h"

#include <QImage>
#include <QString>

#include "viewer/paint/GraphPainter.h"

namespace tavo {

bool saveTableGraphPng(const std::string& path, const RomImage& rom, int index, const RomImage* comparison)
{
    QImage bitmap;
    drawTableGraph(bitmap, rom, index, comparison);
    return bitmap.save(QString::fromStdString(path), "PNG");
}

}  // namespace tavo
