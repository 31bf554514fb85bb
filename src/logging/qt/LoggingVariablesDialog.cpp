#include "logging/qt/LoggingVariablesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/QtText.h"
#include "logging/LoggingConfig.h"
#include "logging/LoggingVariablesForm.h"

namespace tavo {

namespace {

// Control ids: channel 1 has its own, channels 2 to 8 run in sequence.
int titleId(int n) { return n == 0 ? 1194 : 1165 + n - 1; }
int locationId(int n) { return n == 0 ? 1125 : 1172 + n - 1; }
int wordId(int n) { return n == 0 ? 1186 : 1187 + n - 1; }
int multiplierId(int n) { return n == 0 ? 1126 : 1179 + n - 1; }

QLineEdit* field(int id, const std::string& text, int characters, QWidget* parent)
{
    auto* edit = new QLineEdit(recordText(text), parent);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(63);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(characters, QChar('0'))) + 12);
    return edit;
}

}  // namespace

LoggingVariablesDialog::LoggingVariablesDialog(LoggingConfig& config, QWidget* parent)
    : QDialog(parent), config_(config)
{
    setWindowTitle("Data Logging Variables");
    setObjectName("loggingVariables");
    const LoggingVariablesFields fields = loggingVariablesFields(config_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Title:", this), 0, 1);
    grid->addWidget(new QLabel("RAM\nLocation:", this), 0, 2);
    grid->addWidget(new QLabel("Word", this), 0, 3);
    grid->addWidget(new QLabel("Multiply:", this), 0, 4);
    for (int n = 0; n < kChannelCount; ++n) {
        const ChannelFields& channel = fields.channels[static_cast<std::size_t>(n)];
        Row& row = rows_[static_cast<std::size_t>(n)];
        row.title = field(titleId(n), channel.title, 18, this);
        row.location = field(locationId(n), channel.location, 3, this);
        row.location->setMaximumWidth(row.location->minimumWidth());
        row.word = new QCheckBox(this);
        row.word->setObjectName(QString::number(wordId(n)));
        row.word->setChecked(channel.word);
        row.multiplier = field(multiplierId(n), channel.multiplier, 10, this);
        row.multiplier->setMaximumWidth(row.multiplier->minimumWidth());
        const int line = n + 1;
        grid->addWidget(new QLabel(QString::number(line), this), line, 0);
        grid->addWidget(row.title, line, 1);
        grid->addWidget(row.location, line, 2);
        grid->addWidget(row.word, line, 3, Qt::AlignCenter);
        grid->addWidget(row.multiplier, line, 4);
    }
    grid->setColumnStretch(1, 1);

    auto* hints = new QGroupBox("Multipliers:", this);
    auto* hintGrid = new QGridLayout(hints);
    for (std::size_t i = 0; i < kMultiplierHints.size(); ++i) {
        hintGrid->addWidget(new QLabel(kMultiplierHints[i].label, hints), static_cast<int>(i), 0);
        hintGrid->addWidget(new QLabel(kMultiplierHints[i].value, hints), static_cast<int>(i), 1);
    }
    hintGrid->setRowStretch(static_cast<int>(kMultiplierHints.size()), 1);

    auto* rows = new QHBoxLayout;
    rows->addLayout(grid, 1);
    rows->addWidget(hints, 0, Qt::AlignTop);

    name_ = field(1205, fields.name, 24, this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Name:", this));
    nameRow->addWidget(name_, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName("1");
    QPushButton* cancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(nameRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void LoggingVariablesDialog::accept()
{
    LoggingVariablesFields fields;
    fields.name = recordBytes(name_->text());
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        const Row& row = rows_[n];
        fields.channels[n] = {recordBytes(row.title->text()), recordBytes(row.location->text()),
                              row.word->isChecked(), recordBytes(row.multiplier->text())};
    }
    applyLoggingVariables(config_, fields);
    QDialog::accept();
}

}  // namespace tavo
