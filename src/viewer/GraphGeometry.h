#pragma once
// The table graph as lines: what drawTableGraph strokes into the 258 x 258
// off-screen image, pen by pen, in drawing order. Each segment is one
// move-and-draw of the graph; like a line of the module's old GDI tools it
// covers its first pixel and leaves its last one to whatever follows.

#include <vector>

#include "tables/TableDef.h"
#include "viewer/GraphMapping.h"

namespace tavo {

struct RomImage;

enum class GraphPen {
    Tick,        // green (0, 192, 0), 1 pixel
    CentreLine,  // blue, dashed, 1 pixel: zero line of signed tables
    Comparison,  // light grey (220, 220, 220), 2 pixels
    Curve,       // black, 2 pixels
    Marker,      // blue, 1 pixel: point and end markers
};

struct GraphPixel {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPixel&) const = default;
};

struct GraphSegment {
    GraphPen pen = GraphPen::Tick;
    GraphPixel from;
    GraphPixel to;
    bool operator==(const GraphSegment&) const = default;
};

// Ticks, the signed zero line, the comparison curve (when `comparison` is
// given: its own bytes at the entry's address, read with the entry's kind),
// the curve with its lead-in and run-out, the point markers and the 5-byte
// end marker. Entries that are not tables, and indexes out of range, get
// the ticks only. No row beyond address 0xFFFF is read.
std::vector<GraphSegment> tableGraphSegments(const RomImage& rom, int index, const RomImage* comparison);

}  // namespace tavo
