#include "tables/qt/TableDialogs.h"

namespace tavo {

bool runTableInformationDialog(QWidget*, TableDef&)
{
    return false;
}

void runTableEditorDialog(QWidget*, const TableDef&) {}

bool runScaleTableDialog(QWidget*, TableDef&, ScalePercentages&)
{
    return false;
}

}  // namespace tavo
