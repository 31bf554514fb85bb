#pragma once
// The main window: a menu bar and a client area that shows the working
// image's path.

#include <QMainWindow>

#include "app/qt/QtPrompts.h"

namespace tavo {

struct AppState;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);

    QtPrompts& prompts() { return prompts_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppState& state_;
    QtPrompts prompts_;
};

}  // namespace tavo
