#pragma once
// The dialogs that edit or show one table definition, opened from the Quick
// Viewer: "Table Information" (with "BitField Field Names" and "Values"),
// "Table Editor" and "Scale Table".

class QWidget;

namespace tavo {

struct TableDef;
struct ScalePercentages;

// "Table Information" on the entry; true when closed with OK.
bool runTableInformationDialog(QWidget* parent, TableDef& def);

// "Table Editor": the entry's rows as raw hexadecimal with decoded slopes; changes nothing.
void runTableEditorDialog(QWidget* parent, const TableDef& def);

// "Scale Table": on OK stores the percentages and scales the table's bytes; true for OK.
bool runScaleTableDialog(QWidget* parent, TableDef& def, ScalePercentages& percentages);

}  // namespace tavo
