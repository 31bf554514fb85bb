#pragma once
// "Table Editor": the raw rows of one table with decoded slopes, read once
// when the dialog opens. OK and Cancel only close it.

#include <QDialog>

namespace tavo {

struct TableDef;

class TableEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit TableEditorDialog(const TableDef& def, QWidget* parent = nullptr);
};

}  // namespace tavo
