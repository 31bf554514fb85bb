#pragma once
// The Quick Viewer's table list: its columns, the texts of each row, the
// sort that reorders the definitions themselves, and the caption.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tables/TableDef.h"

namespace tavo {

struct RomImage;

struct ListColumn {
    std::string_view title;
    int width;  // pixels
};

// Column codes are the positions: 0 Name, 1 Address, 2 Type, 3 Chrysler.
inline constexpr std::array<ListColumn, 4> kListColumns = {{
    {"Name", 100},
    {"Address", 50},
    {"Type", 100},
    {"Chrysler", 60},
}};

// "Unsigned table", "5-byte table", ...; empty for a code outside 0 to 6.
std::string_view typeColumnText(TableType type);
// "Unsigned table (x, y, slope)", ...; empty for a code outside 0 to 6.
std::string_view typeFieldText(TableType type);

struct TableListRow {
    std::string name;      // at most 256 characters
    std::string address;   // "%04x"
    std::string type;      // the Type column text
    std::string chrysler;
    int index = 0;         // the entry's position in the array
};

// One row per entry in use, in array order.
std::vector<TableListRow> tableListRows(const RomImage& rom);

// Reorders the entries in use by a list column, always ascending; names
// compare without regard to case. Any other column code leaves the array as
// it is. The caller renumbers the entries with bindTables afterwards.
void sortTables(RomImage& rom, int column);

// The first row from the top whose name equals `name` without regard to
// case, or -1.
int findRowByName(const std::vector<TableListRow>& rows, std::string_view name);

// "Quick Viewer - <name>", cut to the 255 characters a caption holds.
std::string viewerCaption(const TableDef& def);

}  // namespace tavo
