#pragma once
// The ECM link's own thread. The port, the EcmLink and every blocking
// exchange live there, so the window never waits on the line: the GUI posts
// commands, and copies of the results come back by queued calls, in the
// order the link thread produced them. Only the GUI thread touches the
// LinkState copy it was given (the application state's).

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/EcmLink.h"

namespace tavo {

class LinkWorker;

class LinkThread : public QObject {
    Q_OBJECT
public:
    using LineFactory = std::function<std::unique_ptr<SerialLine>()>;
    // The GUI part of a tick: runs on the GUI thread once the link state copy
    // has been refreshed, in tick order, unless ticks were stopped meanwhile.
    // Results come in batches, at most about thirty a second.
    using TickResult = std::function<void()>;
    // One tick: runs on the link thread; returns its GUI part (may be empty).
    using Tick = std::function<TickResult(EcmLink&)>;
    using Job = std::function<void(EcmLink&)>;

    // `shownState` is refreshed after every command and tick. Without a
    // factory the link uses the real serial port.
    explicit LinkThread(LinkState& shownState, QObject* parent = nullptr, LineFactory makeLine = {},
                        LinkTimings timings = {});
    ~LinkThread() override;

    // Starts the connection procedure; connectFinished(request, ...) follows,
    // once the state copy holds the outcome (linkConnected, failure).
    // `whenConnected` runs on the link thread right after a procedure that
    // connected, before any tick (a client's sampling starts there, never
    // on a failed connection).
    quint64 connectEcm(const std::optional<std::string>& device, const SerialSettings& settings,
                       Job whenConnected = {});
    // Ends a running connection procedure without a connection (Abort) and
    // closes any connection; a running tick's remaining exchanges are skipped.
    void disconnectEcm();

    // Runs `tick` every periodMs on the link thread (0: back to back while
    // the ticks exchange bytes with the ECM, else every millisecond) until
    // stopTicks; results of ticks still on their way after stopTicks are dropped.
    void startTicks(int periodMs, Tick tick);
    void setTickPeriod(int periodMs);
    void stopTicks();
    // Runs `job` on the link thread between ticks (parameters of a tick travel this way).
    void post(Job job);
    // Runs `job` on the link thread between ticks, then its GUI part on the
    // GUI thread, in order with the ticks' (say, a copy of the sample ring).
    void request(Tick job);
    // As request, but ends a running connection procedure or tick first
    // (their remaining exchanges are skipped); the job itself runs with the
    // link free again (LOG released: the run's last check, then disconnect).
    void interruptAndRequest(Tick job);

    // The state copy, as the last delivery left it.
    const LinkState& shownState() const { return shownState_; }

signals:
    void connectFinished(quint64 request, bool connected);
    void stateChanged();

private:
    friend class LinkWorker;
    // Called on the GUI thread by the worker's queued deliveries.
    void deliverTicks(const LinkState& state, quint64 session, const std::vector<TickResult>& results);
    void deliverResult(const LinkState& state, const TickResult& result);
    void deliverState(const LinkState& state);

    LinkState& shownState_;
    LinkInterrupt interrupt_;
    QThread thread_;
    LinkWorker* worker_ = nullptr;
    quint64 session_ = 0;      // GUI side: the ticks whose results are wanted
    quint64 nextRequest_ = 0;  // GUI side: connection requests
    std::atomic<int> ticksInFlight_{0};
};

}  // namespace tavo
