#pragma once
// "Serial Port": the port and the low and high line speeds of the ECM link.

#include <QDialog>
#include <array>
#include <string>

#include "link/SerialSettings.h"

class QRadioButton;

namespace tavo {

class SerialPortDialog : public QDialog {
    Q_OBJECT
public:
    // Edits `settings` on OK. `deviceOverride` is what every port opens this
    // run (tavo --serial-device), shown in the port radios' tooltips.
    SerialPortDialog(SerialSettings& settings, const std::string& deviceOverride, QWidget* parent = nullptr);

    void accept() override;

private:
    using Radios = std::array<QRadioButton*, 4>;
    SerialSettings& settings_;
    Radios port_{};
    Radios lowSpeed_{};
    Radios highSpeed_{};
};

}  // namespace tavo
