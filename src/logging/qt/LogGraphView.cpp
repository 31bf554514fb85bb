#include "logging/qt/LogGraphView.h"

#include <QPainter>

#include "logging/LogGraphGeometry.h"
#include "logging/paint/LogGraphPainter.h"

namespace tavo {

LogGraphView::LogGraphView(const LogGraph& graph, QWidget* parent) : QWidget(parent), graph_(graph)
{
    setObjectName("1135");
    setFixedSize(kLogGraphWidth, kLogGraphHeight);
}

void LogGraphView::paintEvent(QPaintEvent*)
{
    if (graph_.bitmap.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, graph_.bitmap);
}

}  // namespace tavo
