#include "logging/qt/LogGraphView.h"

#include <QPainter>

#include "logging/LogGraphGeometry.h"
#include "logging/paint/LogGraphPainter.h"

namespace tavo {

namespace {

// About one frame of a 60 Hz screen.
constexpr int kFrameMs = 16;

}  // namespace

LogGraphView::LogGraphView(const LogGraph& graph, QWidget* parent) : QWidget(parent), graph_(graph), frame_(this)
{
    setObjectName("1135");
    setFixedSize(kLogGraphWidth, kLogGraphHeight);
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, [this] { update(); });
}

void LogGraphView::changed()
{
    if (!frame_.isActive())
        frame_.start();
}

void LogGraphView::paintEvent(QPaintEvent*)
{
    if (graph_.bitmap.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, graph_.bitmap);
}

}  // namespace tavo
