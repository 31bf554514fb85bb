#include "viewer/paint/GraphPng.h"

#include <QByteArray>
#include <QImage>
#include <QtCore/QBuffer>

#include <cerrno>

#include "viewer/paint/GraphPainter.h"

namespace tavo {

FileStatus saveTableGraphPng(const std::string& path, const RomImage& rom, int index, const RomImage* comparison)
{
    QImage bitmap;
    drawTableGraph(bitmap, rom, index, comparison);
    // Encoded in memory, then saved like every other file: QImage::save
    // would write in place and take the name through a QString.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !bitmap.save(&buffer, "PNG"))
        return FileStatus::fromErrno(EIO);
    return writeFileAtomically(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace tavo
