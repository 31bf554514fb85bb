#include "tables/TabularView.h"

#include <utility>

#include "common/TextFormat.h"
#include "tables/TableCells.h"

namespace tavo {

std::string_view tabularKindText(TableType type)
{
    switch (type) {
    case TableType::Normal: return "Normal";
    case TableType::Signed: return "Signed";
    case TableType::FiveByte: return "5-Byte";
    default: return "";
    }
}

std::string slopeText(std::uint8_t high, std::uint8_t low)
{
    const auto raw = static_cast<std::uint32_t>(high) << 8 | low;
    return hexLower(raw, 4, '0') + " (" + formatFixed(decodeSlope(high, low), 4, 3) + ")";
}

TabularView tabularViewOf(const TableDef& def)
{
    TabularView view;
    view.title = def.name;
    view.kind = std::string(tabularKindText(def.type));
    if (!isGraphType(def.type) || def.image == nullptr)
        return view;
    const bool fiveByte = def.type == TableType::FiveByte;
    const int rows = rowsInSpace(def.type, def.offset, def.count);
    view.rows.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const TablePoint point = readPoint(*def.image, def.type, def.offset, i);
        TabularRow row;
        row.row = i;
        row.compare = hexLower(static_cast<std::uint32_t>(point.x), 2, '0');
        // The raw y byte, also for signed tables.
        const auto y = static_cast<std::uint32_t>(fiveByte ? point.y : point.y & 0xFF);
        row.result = hexLower(y, fiveByte ? 4 : 2, '0');
        // The last row of a counted table has no segment after it.
        const bool lastCounted = !fiveByte && i == def.count - 1;
        row.slope = lastCounted ? " " : slopeText(point.slopeHigh, point.slopeLow);
        view.rows.push_back(std::move(row));
    }
    return view;
}

}  // namespace tavo
