#include "tables/qt/ScaleTableDialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/qt/UndoKeys.h"
#include "tables/TableScaling.h"
#include "tables/qt/DialogParts.h"

namespace tavo {

ScaleTableDialog::ScaleTableDialog(TableDef& def, ScalePercentages& percentages, QWidget* parent)
    : QDialog(parent), def_(def), percentages_(percentages)
{
    setWindowTitle(QStringLiteral("Scale Table"));
    addTextUndoKeys(this);
    auto percentEdit = [&](const char* objectName, float percent) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(objectName));
        edit->setMaxLength(static_cast<int>(kPercentageTextLimit));
        edit->setText(recordText(percentageText(percent)));
        return edit;
    };
    xPercent_ = percentEdit("xPercentEdit", percentages.x);
    yPercent_ = percentEdit("yPercentEdit", percentages.y);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Scale X Percentage:"), xPercent_);
    fields->addRow(QStringLiteral("Scale Y Percentage:"), yPercent_);

    auto* advice = new QLabel(
        QStringLiteral("To avoid having small errors accumulate, scale tables from an original "
                       "ROM Image if possible."),
        this);
    advice->setObjectName(QStringLiteral("adviceLabel"));
    advice->setWordWrap(true);

    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addWidget(advice);
    page->addLayout(okCancelRow(this));
}

void ScaleTableDialog::accept()
{
    confirmScale(def_, percentages_, recordBytes(xPercent_->text()), recordBytes(yPercent_->text()));
    QDialog::accept();
}

}  // namespace tavo
