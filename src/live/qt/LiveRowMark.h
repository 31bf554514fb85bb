#pragma once
// The Table Editor opened from the Quick Viewer: marks the row the newest
// stored value of the table's live channel counts for by the hit rule (the
// row of the marker on the graph), as rows arrive. The mark moves at most
// 30 times a second, and only when the row changes; a value outside the
// table's x range marks none. Lives as long as the editor.

#include <QObject>
#include <QTimer>

namespace tavo {

class LivePointView;
class LoggingSession;
class TableEditorDialog;

class LiveRowMark : public QObject {
    Q_OBJECT
public:
    LiveRowMark(TableEditorDialog& editor, LoggingSession& session, const LivePointView& point);

private:
    void show();

    TableEditorDialog& editor_;
    const LivePointView& point_;
    QTimer frame_;
};

}  // namespace tavo
