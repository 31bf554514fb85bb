#pragma once
// The "Table Information" form: the texts it shows for an entry, and how the
// texts the user confirms with OK go back into the entry.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tables/TableDef.h"

namespace tavo {

struct TableInformationTexts {
    std::string title;
    std::string address;  // "%04x"
    AxisText axes;
    std::string chryslerName;
    std::string description;  // line breaks as line feeds
    std::optional<TableType> type;  // the checked type button; none checked: nothing
};

// The type buttons' labels, in the order of the types.
std::string_view typeButtonLabel(TableType type);

TableInformationTexts tableInformationTexts(const TableDef& def);

// OK: the address (up to four hexadecimal digits, leading blanks skipped;
// no digit keeps the previous address), the texts cut to their fields'
// widths, and the checked type (none checked keeps the type). A text left as
// it was shown keeps its field exactly, so OK without edits changes nothing;
// the obsolete moveable flag, which has no control, is kept too.
void applyTableInformation(TableDef& def, const TableInformationTexts& texts);

}  // namespace tavo
