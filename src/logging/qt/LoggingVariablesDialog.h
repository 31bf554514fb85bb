#pragma once
// "Data Logging Variables": the eight logging channels (title, RAM location,
// Word, multiplier) and the configuration name. OK takes the fields into the
// configuration (the caller then writes Logging.cfg); Cancel changes nothing.

#include <QDialog>
#include <array>

#include "logging/Acquisition.h"

class QCheckBox;
class QLineEdit;

namespace tavo {

struct LoggingConfig;

class LoggingVariablesDialog : public QDialog {
    Q_OBJECT
public:
    LoggingVariablesDialog(LoggingConfig& config, QWidget* parent = nullptr);

    void accept() override;

private:
    struct Row {
        QLineEdit* title = nullptr;
        QLineEdit* location = nullptr;
        QCheckBox* word = nullptr;
        QLineEdit* multiplier = nullptr;
    };

    LoggingConfig& config_;
    std::array<Row, kChannelCount> rows_{};
    QLineEdit* name_ = nullptr;
};

}  // namespace tavo
