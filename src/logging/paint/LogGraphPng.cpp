#include "logging/paint/LogGraphPng.h"

#include <QByteArray>
#include <QtCore/QBuffer>

#include <cerrno>

#include "logging/paint/LogGraphPainter.h"

namespace tavo {

QImage replayLogGraph(const LogFileContent& log, int logged, int rows)
{
    const TracePens pens = makeTracePens();
    LogGraph graph;
    // Rows counted back from the newest: the replay ends on writePos.
    for (int k = logged - rows; k < logged; ++k)
        drawLogGraphColumn(graph, log.samples, loggedRow(log, logged, k), log.channelMask, kFirstSampledCustom, pens);
    return graph.bitmap;
}

FileStatus saveLogGraphPng(const std::string& path, const LogFileContent& log, int logged, int rows)
{
    const QImage bitmap = replayLogGraph(log, logged, rows);
    QByteArray png;
    QBuffer buffer(&png);
    if (bitmap.isNull() || !buffer.open(QIODevice::WriteOnly) || !bitmap.save(&buffer, "PNG"))
        return FileStatus::fromErrno(EIO);
    return writeFileAtomically(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace tavo
