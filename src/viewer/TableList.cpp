#include "viewer/TableList.h"

#include <algorithm>
#include <cstddef>

#include "common/TextFormat.h"
#include "rom/RomImage.h"

namespace tavo {

namespace {

constexpr std::array<std::string_view, kTableTypeCount> kColumnTexts = {
    "Unsigned table", "5-byte table", "Signed table", "8-bit Constant",
    "16-bit Constant", "Bitfield", "8-bit value (choice)",
};

constexpr std::array<std::string_view, kTableTypeCount> kFieldTexts = {
    "Unsigned table (x, y, slope)", "5-byte table (x, Y, slope)", "Signed table (x, -y, slope)",
    "8-bit Constant", "16-bit Constant", "Bitfield", "8-bit value (choice)",
};

constexpr std::size_t kCaptionWidth = 256;
constexpr std::size_t kRowNameWidth = 257;  // the list takes at most 256 characters

std::string_view textOfType(const std::array<std::string_view, kTableTypeCount>& texts, TableType type)
{
    const auto code = static_cast<std::int32_t>(type);
    if (code < 0 || code >= kTableTypeCount)
        return {};
    return texts[static_cast<std::size_t>(code)];
}

int entriesInUse(const RomImage& rom)
{
    return std::clamp(rom.entryCount, 0, static_cast<int>(rom.tables.size()));
}

}  // namespace

std::string_view typeColumnText(TableType type)
{
    return textOfType(kColumnTexts, type);
}

std::string_view typeFieldText(TableType type)
{
    return textOfType(kFieldTexts, type);
}

std::vector<TableListRow> tableListRows(const RomImage& rom)
{
    const int used = entriesInUse(rom);
    std::vector<TableListRow> rows;
    rows.reserve(static_cast<std::size_t>(used));
    for (int i = 0; i < used; ++i) {
        const TableDef& def = rom.tables[static_cast<std::size_t>(i)];
        TableListRow row;
        row.name = cutToWidth(def.name, kRowNameWidth);
        row.address = hexLower(static_cast<std::uint32_t>(def.offset), 4, '0');
        row.type = std::string(typeColumnText(def.type));
        row.chrysler = def.chryslerName;
        row.index = i;
        rows.push_back(std::move(row));
    }
    return rows;
}

void sortTables(RomImage& rom, int column)
{
    const auto first = rom.tables.begin();
    const auto last = first + entriesInUse(rom);
    switch (column) {
    case 0:
        std::sort(first, last, [](const TableDef& a, const TableDef& b) { return lessIgnoringCase(a.name, b.name); });
        break;
    case 1:
        std::sort(first, last, [](const TableDef& a, const TableDef& b) { return a.offset < b.offset; });
        break;
    case 2:
        std::sort(first, last, [](const TableDef& a, const TableDef& b) {
            return static_cast<std::int32_t>(a.type) < static_cast<std::int32_t>(b.type);
        });
        break;
    case 3:
        std::sort(first, last, [](const TableDef& a, const TableDef& b) {
            return lessIgnoringCase(a.chryslerName, b.chryslerName);
        });
        break;
    default:
        break;
    }
}

int findRowByName(const std::vector<TableListRow>& rows, std::string_view name)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (equalsIgnoreCase(rows[i].name, name))
            return static_cast<int>(i);
    return -1;
}

std::string viewerCaption(const TableDef& def)
{
    return cutToWidth("Quick Viewer - " + def.name, kCaptionWidth);
}

}  // namespace tavo
