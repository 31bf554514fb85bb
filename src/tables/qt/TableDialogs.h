#pragma once
// The dialogs that edit or show one table definition, opened from the Quick
// Viewer: "Table Information" (with "BitField Field Names" and "Values"),
// "Table Editor" and "Scale Table".

#include <functional>

class QWidget;

namespace tavo {

class TableEditorDialog;

struct TableDef;
struct ScalePercentages;

// "Table Information" on the entry; true when closed with OK.
bool runTableInformationDialog(QWidget* parent, TableDef& def);

// "Table Editor": the entry's rows as raw hexadecimal with decoded slopes;
// changes nothing. `opened`, if given, is handed the dialog before it runs
// (it may mark a row while the dialog is open).
void runTableEditorDialog(QWidget* parent, const TableDef& def,
                          const std::function<void(TableEditorDialog&)>& opened = {});

// "Scale Table": on OK stores the percentages and scales the table's bytes; true for OK.
bool runScaleTableDialog(QWidget* parent, TableDef& def, ScalePercentages& percentages);

}  // namespace tavo
