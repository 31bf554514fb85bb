#include "logging/paint/LogGraphPainter.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <cstring>

#include "logging/LogGraphGeometry.h"

namespace tavo {

namespace {

struct GridPens {
    QPen black = logGraphPen(QColor(0, 0, 0));
    QPen dim = logGraphPen(QColor(0, 128, 0));
    QPen bright = logGraphPen(QColor(0, 192, 0));
};

void stroke(QPainter& painter, const LogGraphLines& lines, const GridPens& grid, const TracePens& traces)
{
    for (const LogGraphLine& line : lines) {
        switch (line.pen) {
        case LogGraphPen::Black: painter.setPen(grid.black); break;
        case LogGraphPen::DimGrid: painter.setPen(grid.dim); break;
        case LogGraphPen::BrightGrid: painter.setPen(grid.bright); break;
        case LogGraphPen::Trace: painter.setPen(traces[static_cast<std::size_t>(line.trace)]); break;
        }
        painter.drawLine(line.x0, line.y0, line.x1, line.y1);
    }
}

// The block copy of columns 1 to 383 onto columns 0 to 382; column 383
// keeps what it held until it is drawn over.
void scrollLeft(QImage& bitmap)
{
    const auto bytesPerPixel = static_cast<std::size_t>(bitmap.depth() / 8);
    const std::size_t moved = static_cast<std::size_t>(kLogGraphWidth - 1) * bytesPerPixel;
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* row = bitmap.scanLine(y);
        std::memmove(row, row + bytesPerPixel, moved);
    }
}

}  // namespace

void drawLogGraphColumn(LogGraph& graph, const SampleRing& samples, std::int32_t writePos, std::uint32_t channelMask,
                        std::int32_t customLocation, const TracePens& pens)
{
    const GridPens grid;
    graph.gridPhase = nextGridPhase(graph.gridPhase);
    const bool fresh = graph.bitmap.isNull();
    if (fresh) {
        graph.bitmap = QImage(kLogGraphWidth, kLogGraphHeight, QImage::Format_RGB32);
        graph.bitmap.fill(Qt::black);
    }
    {
        QPainter painter(&graph.bitmap);
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (fresh) {
            stroke(painter, fullGridLines(graph.gridPhase), grid, pens);
            graph.gridPhase = 0;
        }
    }
    scrollLeft(graph.bitmap);
    QPainter painter(&graph.bitmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    stroke(painter, columnGridLines(graph.gridPhase), grid, pens);
    const int row = ((writePos % kRingRows) + kRingRows) % kRingRows;
    stroke(painter,
           traceLines(samples[static_cast<std::size_t>(previousRow(row))], samples[static_cast<std::size_t>(row)],
                      channelMask, customLocation),
           grid, pens);
}

void drawLogGraphColumn(LogGraph& graph, const AcquisitionState& state, const TracePens& pens)
{
    drawLogGraphColumn(graph, state.samples, state.writePos, state.channelMask, state.customLocation, pens);
}

void resetLogGraph(LogGraph& graph)
{
    graph.bitmap = QImage();
    graph.gridPhase = 0;
}

}  // namespace tavo
