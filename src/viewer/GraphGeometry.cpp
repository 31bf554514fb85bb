#include "viewer/GraphGeometry.h"

#include <cstddef>

#include "rom/RomImage.h"
#include "tables/TableCells.h"

namespace tavo {

namespace {

constexpr int kLastColumn = 255;
constexpr int kTickStep = 16;
constexpr int kTickLength = 5;

class SegmentList {
public:
    explicit SegmentList(std::vector<GraphSegment>& out) : out_(out) {}

    void moveTo(GraphPixel at) { at_ = at; }
    void lineTo(GraphPen pen, GraphPixel to)
    {
        out_.push_back({pen, at_, to});
        at_ = to;
    }
    GraphPixel position() const { return at_; }

private:
    std::vector<GraphSegment>& out_;
    GraphPixel at_;
};

void addTicks(SegmentList& lines)
{
    for (int x = kTickStep; x <= 240; x += kTickStep) {
        lines.moveTo({x, 250});
        lines.lineTo(GraphPen::Tick, {x, 250 + kTickLength});
    }
    for (int y = kTickStep; y <= 240; y += kTickStep) {
        lines.moveTo({0, y});
        lines.lineTo(GraphPen::Tick, {kTickLength, y});
    }
}

GraphPixel pixelOf(TableType type, const TablePoint& point)
{
    return {point.x, GraphMapping(type).row(static_cast<float>(point.y))};
}

// The 5-byte run-out: from the last point along its own slope to x = 255.
int fiveByteRunOutY(const TablePoint& last)
{
    const float slope = static_cast<float>(last.slopeHigh) + static_cast<float>(last.slopeLow) / 256.0F;
    const float height = static_cast<float>(last.y) + static_cast<float>(kLastColumn - last.x) * slope;
    return GraphMapping(TableType::FiveByte).row(height);
}

// Lead-in from x = 0 at the first point's height, the points, and the
// run-out to x = 255. Returns the run-out's height for a 5-byte table, -1
// when there is none.
int addCurve(SegmentList& lines, GraphPen pen, const ImageBuffer& image, TableType type, int offset, int rows)
{
    if (rows <= 0)
        return -1;
    const TablePoint first = readPoint(image, type, offset, 0);
    lines.moveTo({0, pixelOf(type, first).y});
    TablePoint last = first;
    for (int i = 0; i < rows; ++i) {
        last = readPoint(image, type, offset, i);
        lines.lineTo(pen, pixelOf(type, last));
    }
    if (last.x >= kLastColumn)
        return -1;
    if (type == TableType::FiveByte) {
        const int endY = fiveByteRunOutY(last);
        lines.lineTo(pen, {kLastColumn, endY});
        return endY;
    }
    lines.lineTo(pen, {kLastColumn, lines.position().y});
    return -1;
}

// A 5 x 5 outline from (left, top) to (left + 4, top + 4).
void addSquare(SegmentList& lines, int left, int top)
{
    lines.moveTo({left, top});
    lines.lineTo(GraphPen::Marker, {left, top + 4});
    lines.lineTo(GraphPen::Marker, {left + 4, top + 4});
    lines.lineTo(GraphPen::Marker, {left + 4, top});
    lines.lineTo(GraphPen::Marker, {left, top});
}

int comparisonRows(const ImageBuffer& image, TableType type, int offset)
{
    if (type == TableType::FiveByte)
        return countFiveByteRows(image, offset);
    return rowsInSpace(type, offset, byteAt(image, offset).value_or(0));
}

}  // namespace

std::vector<GraphSegment> tableGraphSegments(const RomImage& rom, int index, const RomImage* comparison)
{
    std::vector<GraphSegment> segments;
    SegmentList lines(segments);
    addTicks(lines);
    if (index < 0 || index >= rom.entryCount || index >= static_cast<int>(rom.tables.size()))
        return segments;
    const TableDef& def = rom.tables[static_cast<std::size_t>(index)];
    if (!isGraphType(def.type))
        return segments;

    if (def.type == TableType::Signed) {
        const int zero = GraphMapping(TableType::Signed).row(0);
        lines.moveTo({0, zero});
        lines.lineTo(GraphPen::CentreLine, {kLastColumn, zero});
    }
    if (comparison) {
        const int rows = comparisonRows(comparison->image, def.type, def.offset);
        addCurve(lines, GraphPen::Comparison, comparison->image, def.type, def.offset, rows);
    }
    const int rows = rowsInSpace(def.type, def.offset, def.count);
    const int endY = addCurve(lines, GraphPen::Curve, rom.image, def.type, def.offset, rows);
    for (int i = 0; i < rows; ++i) {
        const GraphPixel at = pixelOf(def.type, readPoint(rom.image, def.type, def.offset, i));
        addSquare(lines, at.x - 2, at.y - 2);
    }
    if (def.type == TableType::FiveByte && endY >= 0)
        addSquare(lines, kLastColumn - 2, endY - 2);
    return segments;
}

}  // namespace tavo
