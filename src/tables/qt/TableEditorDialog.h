#pragma once
// "Table Editor": the raw rows of one table with decoded slopes, read once
// when the dialog opens. OK and Cancel only close it. A row can be marked
// from outside (where the engine is now, while the viewer runs live).

#include <QDialog>

class QTreeWidget;

namespace tavo {

struct TableDef;

class TableEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit TableEditorDialog(const TableDef& def, QWidget* parent = nullptr);

    // Marks row `row` (its background) and scrolls it into view; -1, or a
    // row the table does not have, marks none.
    void setMarkedRow(int row);
    int markedRow() const { return marked_; }

private:
    QTreeWidget* grid_ = nullptr;
    int marked_ = -1;
};

}  // namespace tavo
