#include "link/qt/SerialPortDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "link/PortNames.h"
#include "link/SerialPortForm.h"

namespace tavo {

namespace {

struct RadioText {
    const char* label;
    int id;
};

QGroupBox* radioGroup(const char* title, const std::array<RadioText, 4>& texts, const std::array<bool, 4>& checked,
                      std::array<QRadioButton*, 4>& radios, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        radios[i] = new QRadioButton(texts[i].label, group);
        radios[i]->setObjectName(QString::number(texts[i].id));
        radios[i]->setChecked(checked[i]);
        layout->addWidget(radios[i]);
    }
    return group;
}

std::array<bool, 4> checkedOf(const std::array<QRadioButton*, 4>& radios)
{
    std::array<bool, 4> checked{};
    for (std::size_t i = 0; i < radios.size(); ++i)
        checked[i] = radios[i]->isChecked();
    return checked;
}

}  // namespace

SerialPortDialog::SerialPortDialog(SerialSettings& settings, const std::string& deviceOverride, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("Serial Port");
    const SerialPortChoices choices = choicesFor(settings_);
    auto* groups = new QHBoxLayout;
    groups->addWidget(radioGroup("Port", {{{"Com1:", 1305}, {"Com2:", 1306}, {"Com3:", 1307}, {"Com4:", 1308}}},
                                 choices.port, port_, this));
    groups->addWidget(radioGroup("Low Speed",
                                 {{{"977 baud", 1103}, {"1200 baud", 1104}, {"7812 baud", 1105}, {"9600 baud", 1106}}},
                                 choices.lowSpeed, lowSpeed_, this));
    groups->addWidget(radioGroup(
        "High Speed", {{{"7812 baud", 1109}, {"9600 baud", 1110}, {"62500 baud", 1111}, {"125000 baud", 1112}}},
        choices.highSpeed, highSpeed_, this));
    for (int n = 1; n <= 4; ++n)
        port_[static_cast<std::size_t>(n - 1)]->setToolTip(
            QString::fromStdString(portDevice(n, deviceOverride).value_or("")));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SerialPortDialog::accept()
{
    applyChoices(settings_, {checkedOf(port_), checkedOf(lowSpeed_), checkedOf(highSpeed_)});
    QDialog::accept();
}

}  // namespace tavo
