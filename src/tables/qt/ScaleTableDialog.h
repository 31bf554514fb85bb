#pragma once
// "Scale Table": the X and Y percentages of the run; OK stores them and
// scales the entry's table in its image, Cancel changes nothing.

#include <QDialog>

class QLineEdit;

namespace tavo {

struct TableDef;
struct ScalePercentages;

class ScaleTableDialog : public QDialog {
    Q_OBJECT
public:
    ScaleTableDialog(TableDef& def, ScalePercentages& percentages, QWidget* parent = nullptr);

    void accept() override;

private:
    TableDef& def_;
    ScalePercentages& percentages_;
    QLineEdit* xPercent_ = nullptr;
    QLineEdit* yPercent_ = nullptr;
};

}  // namespace tavo
