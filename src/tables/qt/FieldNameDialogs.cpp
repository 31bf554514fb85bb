#include "tables/qt/FieldNameDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/qt/UndoKeys.h"
#include "tables/FieldNameForms.h"
#include "tables/qt/DialogParts.h"

namespace tavo {

namespace {

constexpr const char* kBlankNote = "(Leave Description blank if unused)";

}  // namespace

BitFieldNamesDialog::BitFieldNamesDialog(TableDef& def, QWidget* parent)
    : QDialog(parent), def_(def)
{
    setWindowTitle(QStringLiteral("BitField Field Names"));
    addTextUndoKeys(this);
    const BitNameTexts texts = bitNameTexts(def);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Description"), this), 0, 1);
    for (int bit = 0; bit < 8; ++bit) {
        const auto k = static_cast<std::size_t>(bit);
        grid->addWidget(new QLabel(recordText(bitNameLabel(bit)), this), bit + 1, 0);
        names_[k] = recordEdit(this, QStringLiteral("bitNameEdit%1").arg(bit), texts[k]);
        grid->addWidget(names_[k], bit + 1, 1);
    }
    grid->setColumnStretch(1, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addWidget(new QLabel(QString::fromLatin1(kBlankNote), this));
    page->addLayout(okCancelRow(this));
    // Wide enough for the title in the title bar.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
}

void BitFieldNamesDialog::accept()
{
    BitNameTexts texts;
    for (std::size_t k = 0; k < texts.size(); ++k)
        texts[k] = recordBytes(names_[k]->text());
    applyBitNames(def_, texts);
    QDialog::accept();
}

ValuesDialog::ValuesDialog(TableDef& def, QWidget* parent) : QDialog(parent), def_(def)
{
    setWindowTitle(QStringLiteral("Values"));
    addTextUndoKeys(this);
    const ChoiceTexts texts = choiceTexts(def);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Description"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);
    for (int row = 0; row < 8; ++row) {
        const auto k = static_cast<std::size_t>(row);
        names_[k] = recordEdit(this, QStringLiteral("choiceNameEdit%1").arg(row), texts.names[k]);
        values_[k] = recordEdit(this, QStringLiteral("choiceValueEdit%1").arg(row), texts.values[k]);
        values_[k]->setMaximumWidth(60);
        grid->addWidget(names_[k], row + 1, 0);
        grid->addWidget(values_[k], row + 1, 1);
    }
    grid->setColumnStretch(0, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addWidget(new QLabel(QString::fromLatin1(kBlankNote), this));
    page->addLayout(okCancelRow(this));
}

void ValuesDialog::accept()
{
    ChoiceTexts texts;
    for (std::size_t k = 0; k < texts.names.size(); ++k) {
        texts.names[k] = recordBytes(names_[k]->text());
        texts.values[k] = recordBytes(values_[k]->text());
    }
    applyChoices(def_, texts);
    QDialog::accept();
}

}  // namespace tavo
