#pragma once
// The table graph as lines: what drawTableGraph strokes into the 258 x 258
// off-screen image, pen by pen, in drawing order. Each segment is one
// move-and-draw of the graph; like a line of the module's old GDI tools it
// covers its first pixel and leaves its last one to whatever follows.

#include <vector>

#include "tables/TableDef.h"

namespace tavo {

struct RomImage;

inline constexpr int kGraphBitmapSize = 258;

// Where the graph image sits in the Quick Viewer's client area.
inline constexpr int kGraphLeft = 400;
inline constexpr int kGraphTop = 5;
// Dialog rows of raw height 0: the image's row 256 (row 128 for signed tables).
inline constexpr int kGraphBaseRow = kGraphTop + 256;
inline constexpr int kGraphSignedBaseRow = kGraphTop + 128;

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

// Pixel row of a raw height: 256 - y (Normal), 128 - y with y signed
// (Signed), 256 - Y / 48 truncated toward zero (FiveByte).
int graphPixelY(TableType type, int rawY);

// Ticks, the signed zero line, the comparison curve (when `comparison` is
// given: its own bytes at the entry's address, read with the entry's kind),
// the curve with its lead-in and run-out, the point markers and the 5-byte
// end marker. Entries that are not tables, and indexes out of range, get
// the ticks only. No row beyond address 0xFFFF is read.
std::vector<GraphSegment> tableGraphSegments(const RomImage& rom, int index, const RomImage* comparison);

}  // namespace tavo
