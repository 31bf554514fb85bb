#include "logging/qt/LoggingSession.h"

#include "link/EcmLink.h"
#include "link/LinkFailure.h"
#include "link/qt/LinkThread.h"
#include "logging/LoggingConfig.h"
#include "logging/LoggingStatus.h"

namespace tavo {

namespace {

constexpr int kSilenceCheckMs = 200;

}  // namespace

LoggingSession::LoggingSession(AcquisitionState& acquisition, const LoggingConfig& config, LinkThread& link,
                               std::function<LinkTarget()> target, QObject* parent)
    : QObject(parent), acquisition_(acquisition), config_(config), link_(link), target_(std::move(target)),
      silenceTimer_(this)
{
    silenceTimer_.setInterval(kSilenceCheckMs);
    QObject::connect(&silenceTimer_, &QTimer::timeout, this, [this] { watchSilence(); });
    QObject::connect(&link_, &LinkThread::connectFinished, this, [this](quint64 request, bool connected) {
        if (state_.connecting() && request == request_)
            connectFinished(connected);
    });
}

LoggingSession::~LoggingSession()
{
    if (ticking()) {
        open_ = false;
        live_ = false;
        dropTicks();
    }
}

LogRunState::Time LoggingSession::now() const
{
    return std::chrono::duration_cast<LogRunState::Time>(std::chrono::steady_clock::now().time_since_epoch());
}

void LoggingSession::setPhase()
{
    if (state_.phase() == shownPhase_)
        return;
    shownPhase_ = state_.phase();
    emit phaseChanged(shownPhase_);
}

void LoggingSession::open(std::string_view customText)
{
    if (open_)
        return;
    open_ = true;
    needTicks(customText);
}

void LoggingSession::close()
{
    if (!open_)
        return;
    open_ = false;
    if (!live_)
        dropTicks();
}

void LoggingSession::startLive()
{
    if (live_)
        return;
    live_ = true;
    needTicks(customLocationText(acquisition_.customLocation));
    // A run on (LOG pressed) goes on as it is; otherwise Live starts one.
    if (!acquisition_.logOn && !state_.connecting()) {
        liveRun_ = true;
        setLog(true);
    }
}

void LoggingSession::stopLive()
{
    if (!live_)
        return;
    live_ = false;
    if (liveRun_) {
        liveRun_ = false;
        setLog(false);
    }
    if (!open_)
        dropTicks();
}

void LoggingSession::needTicks(std::string_view customText)
{
    if (ticking())
        return;
    run_ = std::make_shared<AcquisitionRun>(acquisition_, config_.channels, target_());
    run_->customText = customAddressText(customText);
    // The copy samples only once connected.
    const bool resume = state_.resume(acquisition_);
    if (resume)
        setLogButton(run_->state, false);
    startTicks();
    // The run was on when the ticks last stopped: on again, or LOG released.
    if (resume)
        connect();
}

void LoggingSession::dropTicks()
{
    abortConnecting();
    link_.stopTicks();
    if (acquisition_.logOn)
        finishRun(false);
    silenceTimer_.stop();
    run_.reset();
}

void LoggingSession::startTicks()
{
    link_.startTicks(tickIntervalMs(acquisition_.samplePeriodMs),
                     [this, run = run_](EcmLink& ecm) -> LinkThread::TickResult {
                         const TickRecord record = run->tick(ecm);
                         const bool nothing = record.outcome == TickOutcome::Stopped ||
                                              record.outcome == TickOutcome::Waiting ||
                                              (record.outcome == TickOutcome::CutShort && !record.stored);
                         if (nothing)
                             return {};
                         return [this, record] { showTick(record); };
                     });
}

void LoggingSession::setLog(bool pressed)
{
    if (!pressed) {
        if (state_.connecting())
            abortConnecting();
        else if (acquisition_.logOn)
            finishRun(true);
        return;
    }
    if (!state_.press(acquisition_))
        return;
    emit logChanged(true);
    connect();
}

void LoggingSession::connect()
{
    connectedTo_ = target_();
    updateSync(sync_.runStarting());
    setPhase();
    emit connectingChanged(true);
    request_ = link_.connectEcm(connectedTo_.device, connectedTo_.settings, [run = run_](EcmLink& ecm) {
        setLogButton(run->state, true);
        run->started(ecm);
    });
}

void LoggingSession::abortConnecting()
{
    if (!state_.abort())
        return;
    // Ends the procedure at once; should it have connected meanwhile, the
    // copy's LOG goes up again after the sampling it started.
    link_.disconnectEcm();
    link_.post([run = run_, paused = state_.pausedBefore()](EcmLink&) {
        run->state.logOn = false;
        run->state.logPaused = paused;
    });
}

void LoggingSession::connectFinished(bool connected)
{
    const bool aborted = state_.aborting();
    const bool on = state_.connectFinished(connected, now(), acquisition_);
    emit connectingChanged(false);
    setPhase();
    if (on) {
        silenceTimer_.start();
        return;
    }
    updateSync(sync_.runEnded());
    // LOG released, in the window and in the ticks' copy.
    if (!aborted && run_)
        link_.post([run = run_, paused = state_.pausedBefore()](EcmLink&) {
            run->state.logOn = false;
            run->state.logPaused = paused;
        });
    liveRun_ = false;
    emit logChanged(false);
    const LinkFailure& failure = link_.shownState().failure;
    if (!aborted && failure && failure.problem != LinkProblem::Aborted)
        emit connectFailed(QString::fromStdString(
            linkFailureText(failure, connectedTo_.device, connectedTo_.settings.port)));
}

void LoggingSession::finishRun(bool release)
{
    silenceTimer_.stop();
    if (state_.running())
        state_.stop();
    setPhase();
    updateSync(sync_.runEnded());
    if (!silence_.isEmpty()) {
        silence_.clear();
        emit silenceChanged(silence_);
    }
    if (release) {
        setLogButton(acquisition_, false);
        liveRun_ = false;
        emit logChanged(false);
    }
    // A running tick is cut short (it stores nothing); the row held from the
    // tick before gets its check, and the ring the ticks kept replaces the
    // window's, so nothing sampled is lost on the way.
    link_.interruptAndRequest([this, run = run_, release](EcmLink& ecm) -> LinkThread::TickResult {
        const TickRecord record = run->finish(ecm);
        if (release)
            setLogButton(run->state, false);
        ecm.disconnectEcm();
        auto ring = std::make_shared<const AcquisitionState>(run->state);
        return [this, record, ring] {
            adoptRing(acquisition_, *ring);
            // The run's last check decides its last row; the run is over.
            updateSync(sync_.runEnded());
            if (record.outcome == TickOutcome::Logged)
                emit ticked(record);
        };
    });
}

void LoggingSession::showTick(const TickRecord& record)
{
    applyTickRecord(acquisition_, record);
    if (record.outcome == TickOutcome::Logged) {
        // A tick still on its way after LOG was released belongs to no run.
        if (acquisition_.logOn && !state_.connecting())
            updateSync(sync_.checked(record.synced));
        if (state_.ticked(record.trouble, now()))
            setPhase();
        if (record.trouble == TickTrouble::None && !silence_.isEmpty()) {
            silence_.clear();
            emit silenceChanged(silence_);
        }
    }
    if (record.outcome != TickOutcome::CutShort)
        emit ticked(record);
}

void LoggingSession::updateSync(bool changed)
{
    if (changed)
        emit syncChanged(syncText());
}

const ReplyTimeSummary& LoggingSession::replyTimes() const
{
    return link_.shownState().replies;
}

void LoggingSession::watchSilence()
{
    if (!acquisition_.logOn || !state_.running())
        return;
    const LinkState& link = link_.shownState();
    const LogRunState::Time at = now();
    if (state_.checkSilence(at, silenceLimit(acquisition_.samplePeriodMs), link.linkConnected))
        setPhase();
    if (!state_.silent())
        return;
    const std::string problem =
        link.linkConnected ? std::string()
                           : linkFailureText(link.failure, connectedTo_.device, connectedTo_.settings.port);
    const QString text = QString::fromStdString(
        silenceText(state_.lastAnsweredAt(at, localTimeOfDay()), state_.lastTrouble(), problem));
    if (text != silence_) {
        silence_ = text;
        emit silenceChanged(silence_);
    }
}

void LoggingSession::change(const std::function<void(AcquisitionState&)>& change)
{
    change(acquisition_);
    if (run_)
        link_.post([run = run_, change](EcmLink&) { change(run->state); });
}

void LoggingSession::setChannelMask(std::uint32_t mask)
{
    change([mask](AcquisitionState& state) { state.channelMask = mask; });
}

void LoggingSession::setSamplePeriod(std::int32_t periodMs)
{
    change([periodMs](AcquisitionState& state) { state.samplePeriodMs = periodMs; });
    link_.setTickPeriod(tickIntervalMs(periodMs));
}

void LoggingSession::setSmoothing(bool on)
{
    change([on](AcquisitionState& state) { state.smoothing = on; });
}

void LoggingSession::setCustomText(std::string_view text)
{
    if (run_)
        link_.post([run = run_, field = customAddressText(text)](EcmLink&) { run->customText = field; });
}

}  // namespace tavo
