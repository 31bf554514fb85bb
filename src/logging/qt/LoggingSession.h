#pragma once
// The GUI side of data logging, for the whole run of the program: the
// application state's acquisition, the conversation with the link thread
// (connecting, the ticks, the end of a run) and what the window shows about
// it (LOG, "Connecting...", "No reply from the ECM since ..."). The Data
// Logging window observes it and hands it the user's input; it holds no
// logging state of its own, so a reopened window is in step with the run.
//
// The ticks run on the link thread against the session's copy of the state
// (an AcquisitionRun); each tick's record comes back in tick order and is
// applied to the application state, which the chart, Save and every later
// opening read. At the end of a run the copy's whole ring is taken over, so
// the two never drift apart.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "logging/Acquisition.h"
#include "logging/AcquisitionRun.h"
#include "logging/LogFile.h"
#include "logging/LogRunState.h"

namespace tavo {

class LinkThread;
struct LoggingConfig;
struct ReplyTimeSummary;

class LoggingSession : public QObject {
    Q_OBJECT
public:
    // `target` says, at each connection, which device and speeds to use.
    LoggingSession(AcquisitionState& acquisition, const LoggingConfig& config, LinkThread& link,
                   std::function<LinkTarget()> target, QObject* parent = nullptr);
    ~LoggingSession() override;

    const AcquisitionState& acquisition() const { return acquisition_; }

    // The window opened: the ticks start (and a run that was on when it
    // closed connects again). Closed: the ticks stop, unless Live still
    // needs them; a run on keeps LOG pressed but lets the link go once its
    // last row is checked.
    void open(std::string_view customText);
    void close();
    bool isOpen() const { return open_; }

    // Live ticked in the Quick Viewer: the ticks run as with the window open,
    // and LOG is pressed unless a run is on already. Unticked: a run Live
    // started ends (LOG released); a run LOG started is left as it was.
    void startLive();
    void stopLive();
    bool live() const { return live_; }
    // Whether the run on was started by Live (not by LOG).
    bool liveStartedRun() const { return liveRun_; }

    // LOG pressed: the connection procedure, then sampling; a failed
    // connection leaves LOG released. Released: the run's last row is
    // checked, the link goes. During "Connecting..." released aborts.
    void setLog(bool pressed);
    void abortConnecting();
    bool connecting() const { return state_.connecting(); }
    RunPhase phase() const { return state_.phase(); }

    void setChannelMask(std::uint32_t mask);
    void setSamplePeriod(std::int32_t periodMs);
    void setSmoothing(bool on);
    void setCustomText(std::string_view text);

    // How long the ECM's replies take on the last connection, and where it was made.
    const ReplyTimeSummary& replyTimes() const;
    const LinkTarget& connectedTo() const { return connectedTo_; }

    // "No reply from the ECM since ...", empty while the ECM answers.
    const QString& silence() const { return silence_; }
    // "SYNC" only while the run's last sync check passed, else "----".
    QString syncText() const { return QString::fromLatin1(sync_.text()); }

signals:
    void logChanged(bool pressed);
    void connectingChanged(bool running);
    // A connection attempt failed (not an abort): what failed, for a message.
    void connectFailed(const QString& message);
    // One tick's record, applied to the acquisition already: the window
    // draws its column.
    void ticked(const tavo::TickRecord& record);
    void silenceChanged(const QString& text);
    // The run's phase moved (idle, connecting, logging, no reply, recovering).
    void phaseChanged(tavo::RunPhase phase);
    void syncChanged(const QString& text);

private:
    // The ticks run while the window is open or Live is ticked.
    void needTicks(std::string_view customText);
    void dropTicks();
    bool ticking() const { return run_ != nullptr; }
    void setPhase();
    LogRunState::Time now() const;
    void startTicks();
    void connect();
    void connectFinished(bool connected);
    void finishRun(bool release);
    void showTick(const TickRecord& record);
    void watchSilence();
    // Runs one of the indicator's steps and tells the windows when it changed.
    void updateSync(bool changed);
    // Runs `change` on the state now and on the ticks' copy between two ticks.
    void change(const std::function<void(AcquisitionState&)>& change);

    AcquisitionState& acquisition_;
    const LoggingConfig& config_;
    LinkThread& link_;
    std::function<LinkTarget()> target_;
    // The ticks' copy: made at each opening, used only by the link thread.
    std::shared_ptr<AcquisitionRun> run_;
    LinkTarget connectedTo_;
    bool open_ = false;
    bool live_ = false;
    bool liveRun_ = false;
    quint64 request_ = 0;
    LogRunState state_;
    RunPhase shownPhase_ = RunPhase::Idle;

    QTimer silenceTimer_;
    QString silence_;
    SyncIndicator sync_;
};

}  // namespace tavo
