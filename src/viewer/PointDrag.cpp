#include "viewer/PointDrag.h"

#include <cstddef>
#include <cstdint>

#include "rom/RomImage.h"
#include "tables/TableCells.h"
#include "viewer/GraphMapping.h"
#include "viewer/GraphReadouts.h"

namespace tavo {

namespace {

constexpr int kRightEdge = kGraphLeft + 257;
constexpr int kCursorRow = -1;

// Where the band meets point j of the table: where the point is drawn.
DialogPoint anchorAt(const ImageBuffer& image, const TableDef& def, int row)
{
    const TablePoint point = readPoint(image, def.type, def.offset, row);
    return {kGraphLeft + point.x, kGraphTop + GraphMapping(def.type).row(static_cast<float>(point.y))};
}

// Past the last point the band runs to the graph's right edge: level with
// the cursor, or to the top corner for a 5-byte table.
DialogPoint runOutAnchor(const TableDef& def)
{
    return {kRightEdge, def.type == TableType::FiveByte ? kGraphTop : kCursorRow};
}

}  // namespace

bool beginPointDrag(QuickViewerState& state, const RomImage& rom, int mx, int my)
{
    state.dragging = true;
    state.dragIndex = -1;
    const int current = currentEntryIndex(state, rom);
    if (current < 0 || !inGraphField(mx, my))
        return false;
    const TableDef* def = &rom.tables[static_cast<std::size_t>(current)];
    const int point = pointNearCursor(rom.image, *def, mx, my);
    if (point < 0)
        return false;
    state.dragIndex = point;
    const int rows = rowsInSpace(def->type, def->offset, def->count);
    const int last = rows - 1;
    state.leftAnchor = point == 0 ? DialogPoint{kGraphLeft, kCursorRow} : anchorAt(rom.image, *def, point - 1);
    state.rightAnchor = point == last ? runOutAnchor(*def) : anchorAt(rom.image, *def, point + 1);
    return true;
}

std::array<DialogPoint, 3> rubberBand(const QuickViewerState& state, int mx, int my)
{
    auto resolve = [my](DialogPoint anchor) {
        if (anchor.y == kCursorRow)
            anchor.y = my;
        return anchor;
    };
    return {resolve(state.leftAnchor), DialogPoint{mx, my}, resolve(state.rightAnchor)};
}

bool endPointDrag(QuickViewerState& state, RomImage& rom, int mx, int my)
{
    if (!state.dragging)
        return false;
    state.dragging = false;
    const int point = state.dragIndex;
    state.dragIndex = -1;
    const int current = currentEntryIndex(state, rom);
    if (point < 0 || !state.graphMode || current < 0)
        return false;
    const TableDef* def = &rom.tables[static_cast<std::size_t>(current)];
    if (!isGraphType(def->type))
        return false;
    if (point < rowsInSpace(def->type, def->offset, def->count) && inGraphField(mx, my)) {
        writePoint(rom.image, def->type, def->offset, point, mx - kGraphLeft,
                   GraphMapping(def->type).heightAtDialogRow(my));
    }
    recomputeSlopes(rom.image, def->type, def->offset);
    return true;
}

}  // namespace tavo
