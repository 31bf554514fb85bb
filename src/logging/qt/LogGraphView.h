#pragma once
// Shows the strip chart's bitmap: the dialog's hidden frame at (148, 15),
// 384 x 258. Without a bitmap (before the first tick) nothing is painted.

#include <QWidget>

namespace tavo {

struct LogGraph;

class LogGraphView : public QWidget {
    Q_OBJECT
public:
    LogGraphView(const LogGraph& graph, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LogGraph& graph_;
};

}  // namespace tavo
