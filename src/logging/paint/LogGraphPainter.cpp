#include "logging/paint/LogGraphPainter.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "logging/LogGraphGeometry.h"

namespace tavo {

namespace {

struct GridColours {
    QColor black{0, 0, 0};
    QColor dim{0, 128, 0};
    QColor bright{0, 192, 0};
    QColor gap{96, 0, 0};
};

// Lines are filled pixel run by pixel run as GDI covers them: QPainter's own
// line drawing leaves out the first pixel instead of the last for a line
// that runs upward.
void stroke(QPainter& painter, const LogGraphLines& lines, const TracePens& traces)
{
    static const GridColours grid;
    for (const LogGraphLine& line : lines) {
        QColor colour = grid.black;
        switch (line.pen) {
        case LogGraphPen::Black: colour = grid.black; break;
        case LogGraphPen::DimGrid: colour = grid.dim; break;
        case LogGraphPen::BrightGrid: colour = grid.bright; break;
        case LogGraphPen::Trace: colour = traces[static_cast<std::size_t>(line.trace)].color(); break;
        case LogGraphPen::Gap: colour = grid.gap; break;
        }
        forEachLineRun(line, [&](int x, int y, int width, int height) {
            painter.fillRect(x, y, width, height, colour);
        });
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
                        std::int32_t customLocation, const TracePens& pens, LogGraphColumn kind)
{
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
            stroke(painter, fullGridLines(graph.gridPhase), pens);
            graph.gridPhase = 0;
        }
    }
    scrollLeft(graph.bitmap);
    QPainter painter(&graph.bitmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    stroke(painter, columnGridLines(graph.gridPhase, kind == LogGraphColumn::Gap), pens);
    if (kind == LogGraphColumn::Gap || kind == LogGraphColumn::Blank)
        return;
    const auto row = static_cast<std::size_t>(ringRow(writePos));
    const SampleRow& previous = kind == LogGraphColumn::Restart ? samples[row] : samples[static_cast<std::size_t>(
                                                                                      previousRow(ringRow(writePos)))];
    stroke(painter, traceLines(previous, samples[row], channelMask, customLocation), pens);
}

void drawLogGraphColumn(LogGraph& graph, const AcquisitionState& state, const TracePens& pens, LogGraphColumn kind)
{
    drawLogGraphColumn(graph, state.samples, state.writePos, state.channelMask, state.customLocation, pens, kind);
}

void replayLogGraph(LogGraph& graph, const AcquisitionState& state, const TracePens& pens)
{
    resetLogGraph(graph);
    const int stored = std::min(state.sampleCount, kRingRows);
    forEachReplayColumn(state, stored, [&](const ReplayColumn& column) {
        drawLogGraphColumn(graph, state.samples, column.row, state.channelMask, state.customLocation, pens,
                           column.kind);
    });
}

void resetLogGraph(LogGraph& graph)
{
    graph.bitmap = QImage();
    graph.gridPhase = 0;
}

}  // namespace tavo
