#include "tables/qt/TableInformationDialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "common/qt/UndoKeys.h"
#include "tables/TableInformationForm.h"
#include "tables/qt/DialogParts.h"
#include "tables/qt/FieldNameDialogs.h"

namespace tavo {

namespace {

// The axis texts' labels and edits, in the order of kAxisFields.
struct AxisEdit {
    const char* label;
    const char* objectName;
};
constexpr std::array<AxisEdit, 8> kAxisEdits = {{
    {"X-Axis Label:", "xLabelEdit"},
    {"X-Min:", "xMinEdit"},
    {"X-Max:", "xMaxEdit"},
    {"X-Unit:", "xUnitsEdit"},
    {"Y-Axis Label:", "yLabelEdit"},
    {"Y-Min:", "yMinEdit"},
    {"Y-Max:", "yMaxEdit"},
    {"Y-Unit:", "yUnitsEdit"},
}};

// The description exactly as held: the plain-text view would turn a
// no-break space into a space.
std::string descriptionBytes(const QPlainTextEdit* edit)
{
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return recordBytes(text);
}

}  // namespace

TableInformationDialog::TableInformationDialog(TableDef& def, QWidget* parent)
    : QDialog(parent), def_(def)
{
    setWindowTitle(QStringLiteral("Table Information"));
    addTextUndoKeys(this);
    const TableInformationTexts texts = tableInformationTexts(def);

    auto* fields = new QFormLayout;
    auto field = [&](const char* label, const char* objectName, const std::string& text) {
        QLineEdit* edit = recordEdit(this, QString::fromLatin1(objectName), text);
        fields->addRow(QString::fromLatin1(label), edit);
        return edit;
    };
    title_ = field("Title:", "titleEdit", texts.title);
    address_ = field("Address:", "addressEdit", texts.address);
    for (std::size_t k = 0; k < kAxisFields.size(); ++k)
        axes_[k] = field(kAxisEdits[k].label, kAxisEdits[k].objectName, texts.axes.*kAxisFields[k].member);
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
    for (std::size_t k = 0; k < kAxisFields.size(); ++k)
        texts.axes.*kAxisFields[k].member = recordBytes(axes_[k]->text());
    texts.chryslerName = recordBytes(chryslerName_->text());
    texts.description = descriptionBytes(description_);
    if (const int checked = types_->checkedId(); checked >= 0)
        texts.type = static_cast<TableType>(checked);
    applyTableInformation(def_, texts);
    QDialog::accept();
}

}  // namespace tavo
