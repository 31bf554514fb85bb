#pragma once
// The "Table Information" form: the texts it shows for an entry, and how the
// texts the user confirms with OK go back into the entry.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tables/TableDef.h"

namespace tavo {

// The most characters each field takes back on OK.
namespace takeBack {
constexpr std::size_t title = 254;
constexpr std::size_t label = 254;
constexpr std::size_t scale = 15;
constexpr std::size_t units = 63;
constexpr std::size_t chryslerName = 11;
constexpr std::size_t description = 2047;
constexpr std::size_t choiceName = 63;
}  // namespace takeBack

struct TableInformationTexts {
    std::string title;
    std::string address;  // "%04x"
    std::string xLabel;
    std::string xMin;
    std::string xMax;
    std::string xUnits;
    std::string yLabel;
    std::string yMin;
    std::string yMax;
    std::string yUnits;
    std::string chryslerName;
    std::string description;  // line breaks as line feeds
    std::optional<TableType> type;  // the checked type button; none checked: nothing
};

// The type buttons' labels, in the order of the types.
std::string_view typeButtonLabel(TableType type);

TableInformationTexts tableInformationTexts(const TableDef& def);

// OK: the address (up to four hexadecimal digits, leading blanks skipped;
// no digit keeps the previous address), the texts cut to what each field
// takes back, the checked type (none checked keeps the type), and the
// obsolete moveable flag cleared.
void applyTableInformation(TableDef& def, const TableInformationTexts& texts);

}  // namespace tavo
