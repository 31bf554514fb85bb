#pragma once
// "Table Information": every field of one definition, its type, and the
// "Flags" and "Values" buttons that open the name dialogs for the same entry.
// The entry changes only on OK (the name dialogs write on their own OK).

#include <QDialog>

#include <array>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;

namespace tavo {

struct TableDef;

class TableInformationDialog : public QDialog {
    Q_OBJECT
public:
    explicit TableInformationDialog(TableDef& def, QWidget* parent = nullptr);

    void accept() override;

private:
    void openBitNames();
    void openChoices();

    TableDef& def_;
    QLineEdit* title_ = nullptr;
    QLineEdit* address_ = nullptr;
    std::array<QLineEdit*, 8> axes_{};  // in the order of kAxisFields
    QLineEdit* chryslerName_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QButtonGroup* types_ = nullptr;
};

}  // namespace tavo
