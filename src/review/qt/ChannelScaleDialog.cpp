#include "review/qt/ChannelScaleDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavo {

ChannelScaleDialog::ChannelScaleDialog(const std::string& title, const std::optional<ChannelScale>& scale,
                                       QWidget* parent)
    : QDialog(parent), scale_(scale)
{
    setObjectName("channelScale");
    setWindowTitle("Channel Scale");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QString::fromUtf8(title.c_str()) + ": value = raw x factor + offset", this);
    layout->addWidget(heading);

    auto* form = new QFormLayout;
    factor_ = new QLineEdit(this);
    offset_ = new QLineEdit(this);
    unit_ = new QLineEdit(this);
    factor_->setObjectName("factor");
    offset_->setObjectName("offset");
    unit_->setObjectName("unit");
    unit_->setMaxLength(static_cast<int>(kMostUnitCharacters));
    if (scale) {
        factor_->setText(QString::fromStdString(scaleNumberText(scale->factor)));
        offset_->setText(QString::fromStdString(scaleNumberText(scale->offset)));
        unit_->setText(QString::fromStdString(scale->unit));
    }
    form->addRow("&Factor:", factor_);
    form->addRow("O&ffset:", offset_);
    form->addRow("&Unit:", unit_);
    layout->addLayout(form);

    problem_ = new QLabel(this);
    problem_->setObjectName("problem");
    problem_->setStyleSheet("color: #b00000");
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* none = buttons->addButton("&No Scale", QDialogButtonBox::ResetRole);
    none->setObjectName("noScale");
    connect(none, &QPushButton::clicked, this, [this] {
        factor_->clear();
        offset_->clear();
        unit_->clear();
        problem_->clear();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &ChannelScaleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ChannelScaleDialog::reject);
    layout->addWidget(buttons);
}

void ChannelScaleDialog::accept()
{
    const ScaleEntry entry = parseScaleEntry(factor_->text().toStdString(), offset_->text().toStdString(),
                                             unit_->text().toStdString());
    if (!entry.problem.empty()) {
        problem_->setText(QString::fromStdString(entry.problem));
        return;
    }
    scale_ = entry.scale;
    QDialog::accept();
}

}  // namespace tavo
