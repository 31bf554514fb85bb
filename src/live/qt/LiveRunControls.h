#pragma once
// "Live" in the Quick Viewer: the check box that runs the program's logging
// session while the viewer is open, with the channels, rate and custom
// address of the Data Logging window, into the same ring. It connects as
// LOG does ("Connecting..." with Abort over the viewer, a failed
// connection's reason as a message) and says "No reply from the ECM since
// ..." below the graph. Unticking, or closing the viewer, ends a run Live
// started and leaves a run LOG started as it was.

#include <QObject>
#include <QPointer>
#include <QString>

class QCheckBox;
class QDialog;
class QLabel;

#include "link/qt/ConnectingDialog.h"

namespace tavo {

class LoggingSession;
class UserPrompts;

// The controls' places in the Quick Viewer: right of the graph's readouts,
// and the run's status in the bottom right, above the buttons.
inline constexpr int kLiveBoxX = 664;
inline constexpr int kLiveBoxY = 322;
inline constexpr int kLiveStatusY = 404;

class LiveRunControls : public QObject {
    Q_OBJECT
public:
    // Without prompts a failed connection is said in the status line only.
    LiveRunControls(QDialog& dialog, LoggingSession& session, UserPrompts* prompts);
    ~LiveRunControls() override;

    bool isLive() const;
    // The viewer closes: as though Live were unticked.
    void closing();

signals:
    // Live was ticked (counts "since Live was ticked" start here) or unticked.
    void liveStarted();
    void liveStopped();

private:
    void setLive(bool on);
    void showConnecting(bool running);
    void showStatus();

    QDialog& dialog_;
    LoggingSession& session_;
    UserPrompts* prompts_;
    QCheckBox* box_ = nullptr;
    QLabel* status_ = nullptr;
    QPointer<ConnectingDialog> connecting_;
    QString failure_;
};

}  // namespace tavo
