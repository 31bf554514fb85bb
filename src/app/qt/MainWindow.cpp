#include "app/qt/MainWindow.h"

#include <QPainter>

#include "app/AppState.h"

namespace tavo {

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(this, [this] { update(); })
{
    setWindowTitle("TaVO");
    resize(800, 500);
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    const std::string& path = state_.workingImage.romPath;
    if (path.empty())
        return;
    QPainter painter(this);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, QString::fromLocal8Bit(path.c_str()));
}

}  // namespace tavo
