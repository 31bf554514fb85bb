#include "tables/qt/TableInformationDialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "tables/TableInformationForm.h"
#include "tables/qt/DialogParts.h"
#include "tables/qt/FieldNameDialogs.h"

namespace tavo {

TableInformationDialog::TableInformationDialog(TableDef& def, QWidget* parent)
    : QDialog(parent), def_(def)
{
    setWindowTitle(QStringLiteral("Table Information"));
    const TableInformationTexts texts = tableInformationTexts(def);

    auto* fields = new QFormLayout;
    auto field = [&](const char* label, const char* objectName, const std::string& text) {
        QLineEdit* edit = addEdit(objectName);
        edit->setText(recordText(text));
        fields->addRow(QString::fromLatin1(label), edit);
        return edit;
    };
    title_ = field("Title:", "titleEdit", texts.title);
    address_ = field("Address:", "addressEdit", texts.address);
    xLabel_ = field("X-Axis Label:", "xLabelEdit", texts.xLabel);
    xMin_ = field("X-Min:", "xMinEdit", texts.xMin);
    xMax_ = field("X-Max:", "xMaxEdit", texts.xMax);
    xUnits_ = field("X-Unit:", "xUnitsEdit", texts.xUnits);
    yLabel_ = field("Y-Axis Label:", "yLabelEdit", texts.yLabel);
    yMin_ = field("Y-Min:", "yMinEdit", texts.yMin);
    yMax_ = field("Y-Max:", "yMaxEdit", texts.yMax);
    yUnits_ = field("Y-Unit:", "yUnitsEdit", texts.yUnits);
    chryslerName_ = field("Chrysler Name:", "chryslerNameEdit", texts.chryslerName);
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("descriptionEdit"));
    description_->setPlainText(recordText(texts.description));
    fields->addRow(QStringLiteral("Description:"), description_);

    auto* typeBox = new QGroupBox(QStringLiteral("Type:"), this);
    typeBox->setObjectName(QStringLiteral("typeGroup"));
    auto* typeColumn = new QVBoxLayout(typeBox);
    types_ = new QButtonGroup(this);
    for (int t = 0; t < kTableTypeCount; ++t) {
        const auto type = static_cast<TableType>(t);
        auto* button = new QRadioButton(recordText(typeButtonLabel(type)), typeBox);
        button->setObjectName(QStringLiteral("typeButton%1").arg(t));
        button->setChecked(texts.type == type);
        types_->addButton(button, t);
        typeColumn->addWidget(button);
    }

    auto* flags = new QPushButton(QStringLiteral("Flags"), this);
    flags->setObjectName(QStringLiteral("flagsButton"));
    flags->setAutoDefault(false);
    connect(flags, &QPushButton::clicked, this, &TableInformationDialog::openBitNames);
    auto* values = new QPushButton(QStringLiteral("Values"), this);
    values->setObjectName(QStringLiteral("valuesButton"));
    values->setAutoDefault(false);
    connect(values, &QPushButton::clicked, this, &TableInformationDialog::openChoices);

    auto* side = new QVBoxLayout;
    side->addWidget(typeBox);
    side->addWidget(flags);
    side->addWidget(values);
    side->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addLayout(fields, 1);
    body->addLayout(side);

    auto* page = new QVBoxLayout(this);
    page->addLayout(body);
    page->addLayout(okCancelRow(this));
}

QLineEdit* TableInformationDialog::addEdit(const char* objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

void TableInformationDialog::openBitNames()
{
    BitFieldNamesDialog dialog(def_, this);
    dialog.exec();
}

void TableInformationDialog::openChoices()
{
    ValuesDialog dialog(def_, this);
    dialog.exec();
}

void TableInformationDialog::accept()
{
    TableInformationTexts texts;
    texts.address = recordBytes(address_->text());
    texts.title = recordBytes(title_->text());
    texts.xLabel = recordBytes(xLabel_->text());
    texts.xMin = recordBytes(xMin_->text());
    texts.xMax = recordBytes(xMax_->text());
    texts.xUnits = recordBytes(xUnits_->text());
    texts.yLabel = recordBytes(yLabel_->text());
    texts.yMin = recordBytes(yMin_->text());
    texts.yMax = recordBytes(yMax_->text());
    texts.yUnits = recordBytes(yUnits_->text());
    texts.chryslerName = recordBytes(chryslerName_->text());
    texts.description = recordBytes(description_->toPlainText());
    if (const int checked = types_->checkedId(); checked >= 0)
        texts.type = static_cast<TableType>(checked);
    applyTableInformation(def_, texts);
    QDialog::accept();
}

}  // namespace tavo
