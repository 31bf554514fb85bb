#pragma once
// The generic definition the system makes for a table the user has not
// described yet: Add in the Quick Viewer, a table found by the ROM scan, and
// the reader's short entry forms.

#include <string>

#include "tables/TableDef.h"

namespace tavo {

struct GenericEntry {
    std::string name;
    std::string xLabel;
    std::string yLabel;
    std::string description = "Description";
    // The kind whose raw y scale the entry gets.
    TableType scales = TableType::Normal;
};

// Sets the entry's name, axis labels and description, the Chrysler name
// "NAME" and scales under which display values are raw values: x "0" to
// "256" "in"; y "0" to "256" "out" for Normal, "-128" to "128" for Signed,
// "0" to "12288" (48 x 256, the 16-bit Y) for FiveByte. Other kinds keep
// their y scales; every other field keeps what it held.
void applyGenericEntry(TableDef& def, const GenericEntry& entry);

}  // namespace tavo
