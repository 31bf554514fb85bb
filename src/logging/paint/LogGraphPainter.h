#pragma once
// Draws the Data Logging dialog's strip chart: one new column per tick into
// the 384 x 258 bitmap, which the dialog copies to the screen.

#include <QImage>

#include "logging/Acquisition.h"
#include "logging/LogGraphGeometry.h"
#include "logging/paint/TracePens.h"

namespace tavo {

// The bitmap and the grid's phase; both start afresh with each opening of
// the dialog (no bitmap, phase 0).
struct LogGraph {
    QImage bitmap;  // null until the first column is drawn
    int gridPhase = 0;
};

// One tick's column: steps the grid phase, draws the full grid on a new
// bitmap, scrolls the bitmap left by one pixel, draws column 383 and the grid
// dots, then (for a Segment) the traces from the row before writePos to
// writePos, (for a Restart) a dot at writePos's values, or marks a gap.
void drawLogGraphColumn(LogGraph& graph, const SampleRing& samples, std::int32_t writePos, std::uint32_t channelMask,
                        std::int32_t customLocation, const TracePens& pens,
                        LogGraphColumn kind = LogGraphColumn::Segment);
void drawLogGraphColumn(LogGraph& graph, const AcquisitionState& state, const TracePens& pens,
                        LogGraphColumn kind = LogGraphColumn::Segment);

// A chart drawn afresh from the rows the ring already holds (the dialog
// reopened): the last columns' worth of rows, with their gaps.
void replayLogGraph(LogGraph& graph, const AcquisitionState& state, const TracePens& pens);

// Closing the dialog: the bitmap goes and the phase returns to 0.
void resetLogGraph(LogGraph& graph);

}  // namespace tavo
