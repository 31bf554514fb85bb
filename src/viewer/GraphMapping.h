#pragma once
// The one mapping between a table's raw values and the graph's pixels, for
// one kind of table: the drawing, the point drag, the read-outs and the snap
// all place points through it.

#include "tables/TableCells.h"

namespace tavo {

inline constexpr int kGraphBitmapSize = 258;

// Where the graph image sits in the Quick Viewer's client area: its pixel
// (x, row) is the dialog's (kGraphLeft + x, kGraphTop + row).
inline constexpr int kGraphLeft = 400;
inline constexpr int kGraphTop = 5;

class GraphMapping {
public:
    explicit GraphMapping(TableType type) : type_(type) {}

    // The image row of a raw height: 256 - y (Normal), 128 - y with y signed
    // (Signed), 256 - Y / 48 in single precision (FiveByte); truncated
    // toward zero.
    int row(float rawHeight) const;

    // The raw height at a dialog row, which a dragged point released there
    // takes: one step a row, 48 steps for the 16-bit Y of a FiveByte table.
    // row() of it gives the dialog row back.
    int heightAtDialogRow(int dialogRow) const;

    // The raw height by which a point is picked (the snap of the read-outs and
    // of a drag) and the value its read-out shows. It is the drawn height,
    // except that a Signed table's byte 0x80 counts as +128: the snap reads
    // y as the slope bytes are read, where 0x80 is +128, so that point is
    // drawn at the bottom of the field but picked at its top, as users of
    // the calibration tools know it. Nothing else reads 0x80 that way.
    int pickHeight(const TablePoint& point) const;

private:
    TableType type_;
};

}  // namespace tavo
