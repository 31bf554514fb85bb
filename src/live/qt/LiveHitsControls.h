#pragma once
// "Hits" beside the Quick Viewer's graph: ticked, each point of the table
// shown is shaded by how many stored rows counted for it (the log window's
// hit rule, on the table's live channel) since Live was ticked or since
// "Reset" (before Live is ticked in an opening: since the viewer opened).
// The counts are kept whether or not Hits is ticked, a stored row at a time.
// Ticked, the graph's tooltip says the rows of the point under the cursor.

#include <QObject>

#include "live/LiveHits.h"

class QCheckBox;
class QDialog;
class QPainter;
class QPushButton;

namespace tavo {

class LivePointView;
class LoggingSession;
class TableGraphView;

class LiveHitsControls : public QObject {
    Q_OBJECT
public:
    LiveHitsControls(QDialog& dialog, TableGraphView& graph, LoggingSession& session, const LivePointView& point);

    // Live was ticked: the counts start again from here.
    void liveStarted();
    // "Reset": the counts start again from here.
    void reset();
    bool shown() const;
    const LiveHitCounts& counts() const { return counts_; }
    void paint(QPainter& painter) const;
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followTable();
    void catchUp();

    TableGraphView* graph_;
    LoggingSession& session_;
    const LivePointView& point_;
    LiveHitCounts counts_;
    QCheckBox* box_ = nullptr;
    QPushButton* reset_ = nullptr;
};

}  // namespace tavo
