#pragma once
// The live operating point beside the Quick Viewer's graph: "Live channel:"
// (the channel that feeds the shown table's x axis, remembered per table in
// the choices the log window's Hit Counts tab shares), and the marker and
// trail drawn over the curve from the rows the logging session stores.
// Nothing is drawn before a row is stored while the viewer is open; a gap
// leaves the marker where the last stored row put it, grey once the ECM has
// stopped answering. The add-on draws it through paint(), with the hit
// shades under it.

#include <QObject>

#include <vector>

#include "live/LiveMarker.h"

class QComboBox;
class QDialog;
class QLabel;
class QPainter;

namespace tavo {

class LoggingSession;
class TableChannelChoices;
class TableGraphView;
struct LoggingConfig;
struct RomImage;
struct TableDef;

class LivePointView : public QObject {
    Q_OBJECT
public:
    LivePointView(QDialog& dialog, TableGraphView& graph, LoggingSession& session, const LoggingConfig& config,
                  const RomImage& romImage, TableChannelChoices* choices, double trailSeconds);

    void entryShown(const TableDef* def);
    void closing();

    // The ring slot of the live channel (0 to 7, 8 for Custom), -1 for none.
    int channelSlot() const;
    // The shown table's point xs (none for an entry without a graph).
    const std::vector<int>& xs() const { return xs_; }
    // The table point the newest stored row's value counts for by the hit
    // rule (what the marker shows), -1 for none: no row, no live channel,
    // or a value outside the table's x range.
    int markedPoint() const;
    void paint(QPainter& painter) const;
    // What is drawn now (tests read it).
    std::optional<LiveMark> mark() const;
    std::vector<TrailDot> trail() const;
    bool stale() const;

signals:
    // Another table, its points read again, or another live channel.
    void tableChanged();

private:
    void chooseChannel(int comboIndex);
    // The stored rows of the live channel within the trail, oldest first.
    std::vector<TimedValue> recentRows() const;
    // The shown table's curve and point xs, as last drawn (read again when
    // the graph is redrawn: a dragged point, undo, another table).
    void readTable();

    TableGraphView* graph_;
    LoggingSession& session_;
    const RomImage& rom_;
    TableChannelChoices* choices_;
    double trailSeconds_;
    const TableDef* shown_ = nullptr;
    std::vector<GraphSegment> curve_;
    std::vector<int> xs_;
    int storedAtOpening_ = 0;
    QLabel* label_ = nullptr;
    QComboBox* channels_ = nullptr;
};

}  // namespace tavo
