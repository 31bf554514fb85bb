#pragma once
// "BitField Field Names" and "Values": the names of a bit field's bits and
// the named choices of a choice byte. Each writes into the entry on its own
// OK, whatever the dialog that opened it does afterwards.

#include <QDialog>

#include <array>

class QLineEdit;

namespace tavo {

struct TableDef;

class BitFieldNamesDialog : public QDialog {
    Q_OBJECT
public:
    explicit BitFieldNamesDialog(TableDef& def, QWidget* parent = nullptr);

    void accept() override;

private:
    TableDef& def_;
    std::array<QLineEdit*, 8> names_{};
};

class ValuesDialog : public QDialog {
    Q_OBJECT
public:
    explicit ValuesDialog(TableDef& def, QWidget* parent = nullptr);

    void accept() override;

private:
    TableDef& def_;
    std::array<QLineEdit*, 8> names_{};
    std::array<QLineEdit*, 8> values_{};
};

}  // namespace tavo
