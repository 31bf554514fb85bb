#pragma once
// Live tuning in the Quick Viewer: the add-on the program hands the viewer
// at each opening. It lives as long as that opening; the logging session it
// drives lives for the whole run of the program.

#include <QObject>

#include "viewer/qt/QuickViewerAddOn.h"

namespace tavo {

class ChannelScales;
class LiveHitsControls;
class LivePointView;
class LiveRunControls;
class TableChannelChoices;
class UserPrompts;
class LoggingSession;
struct LoggingConfig;
struct RomImage;

struct LiveTuningContext {
    LoggingSession& session;
    const LoggingConfig& config;  // the channels' titles and addresses
    const RomImage& romImage;     // the working image, as the viewer edits it
    const ChannelScales& scales;  // the log windows' channel scales
    UserPrompts* prompts = nullptr;  // says why a connection failed
    // Each table's live channel, shared with the log windows' hit counts.
    TableChannelChoices* channelChoices = nullptr;
    double trailSeconds = 3;  // how long the marker's trail is; 0: none
};

class LiveTuning : public QObject, public QuickViewerAddOn {
    Q_OBJECT
public:
    explicit LiveTuning(const LiveTuningContext& context, QObject* parent = nullptr);
    ~LiveTuning() override;

    void attach(QDialog& dialog, TableGraphView& graph) override;
    void entryShown(const TableDef* def) override;
    void closing() override;
    // Marks the row of the live value in the Table Editor while it is open.
    void tableEditorOpened(TableEditorDialog& editor) override;

    // Live ticked in this opening (hit counts start here), or unticked.
    bool isLive() const;
    // The operating point's view, once attached.
    LivePointView* pointView() const { return point_; }
    // "Hits" and its counts, once attached.
    LiveHitsControls* hitsControls() const { return hits_; }
signals:
    void liveStarted();
    void liveStopped();

private:
    LiveTuningContext context_;
    QDialog* dialog_ = nullptr;
    TableGraphView* graph_ = nullptr;
    const TableDef* shown_ = nullptr;
    LiveRunControls* run_ = nullptr;
    LivePointView* point_ = nullptr;
    LiveHitsControls* hits_ = nullptr;
};

}  // namespace tavo
