#pragma once
// The About box: name, build, the warning to tuners, and OK.

#include <QDialog>

namespace tavo {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 103;
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tavo
