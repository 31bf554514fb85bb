#pragma once
// Shows the strip chart's bitmap: the dialog's hidden frame at (148, 15),
// 384 x 258. Without a bitmap (before the first tick) nothing is painted.
// The bitmap may advance a column a millisecond; the screen is repainted at
// most at its own rate.

#include <QTimer>
#include <QWidget>

namespace tavo {

struct LogGraph;

class LogGraphView : public QWidget {
    Q_OBJECT
public:
    LogGraphView(const LogGraph& graph, QWidget* parent);

    // The bitmap changed: repainted within a frame, however often this comes.
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LogGraph& graph_;
    QTimer frame_;
};

}  // namespace tavo
