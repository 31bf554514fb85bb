#include "tables/qt/TableDialogs.h"

#include "tables/qt/ScaleTableDialog.h"
#include "tables/qt/TableEditorDialog.h"
#include "tables/qt/TableInformationDialog.h"

namespace tavo {

bool runTableInformationDialog(QWidget* parent, TableDef& def)
{
    TableInformationDialog dialog(def, parent);
    return dialog.exec() == QDialog::Accepted;
}

void runTableEditorDialog(QWidget* parent, const TableDef& def,
                          const std::function<void(TableEditorDialog&)>& opened)
{
    TableEditorDialog dialog(def, parent);
    if (opened)
        opened(dialog);
    dialog.exec();
}

bool runScaleTableDialog(QWidget* parent, TableDef& def, ScalePercentages& percentages)
{
    ScaleTableDialog dialog(def, percentages, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tavo
