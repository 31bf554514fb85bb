#include "link/qt/LinkThread.h"

#include <QTimer>
#include <chrono>
#include <vector>

#include "link/SystemSerialLine.h"

namespace tavo {

namespace {

// The link thread never runs more deliveries ahead of the window than this;
// a window that stalls slows the ticks instead of piling up their results.
constexpr int kMaxTicksAhead = 32;
// Tick results travel to the window in batches, at most this often (about
// a frame), each carrying every result since the last, in tick order: at
// "Fastest" a tick ends every few milliseconds, and a queued call per tick
// would cost the window more than the ticks themselves. Ticks with nothing
// to show still refresh the state copy this often.
constexpr auto kDeliverEvery = std::chrono::milliseconds(33);
constexpr auto kDeliverStateEvery = std::chrono::milliseconds(250);
// Back-to-back ticks that leave the line unused run this often: the 16 ms a
// Windows timer gave "Fastest" in the old program, instead of spinning.
constexpr int kIdleBackToBackMs = 16;

}  // namespace

// Lives on the link thread; everything in it runs there.
class LinkWorker : public QObject {
public:
    LinkWorker(std::unique_ptr<SerialLine> line, LinkTimings timings, LinkThread& owner)
        : line_(std::move(line)), link_(*line_, clock_, timings), owner_(owner), timer_(this)
    {
        link_.setInterrupt(&owner_.interrupt_);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { runTick(); });
    }

    void connectEcm(quint64 request, const std::optional<std::string>& device, const SerialSettings& settings,
                    const LinkThread::Job& whenConnected)
    {
        deliverPending();
        link_.connectEcm(device, settings);
        if (link_.linkConnected() && whenConnected)
            whenConnected(link_);
        const LinkState state = link_.state();
        const bool connected = state.linkConnected;
        QMetaObject::invokeMethod(
            &owner_,
            [owner = &owner_, state, request, connected] {
                owner->deliverState(state);
                emit owner->connectFinished(request, connected);
            },
            Qt::QueuedConnection);
    }

    void disconnectEcm()
    {
        deliverPending();
        link_.disconnectEcm();
        publishState();
    }

    void startTicks(quint64 session, int periodMs, LinkThread::Tick tick)
    {
        session_ = session;
        tick_ = std::move(tick);
        backToBack_ = periodMs <= 0;
        timer_.start(std::max(periodMs, 0));
    }

    void setPeriod(int periodMs)
    {
        if (!timer_.isActive())
            return;
        backToBack_ = periodMs <= 0;
        timer_.start(std::max(periodMs, 0));
    }

    void stopTicks()
    {
        timer_.stop();
        tick_ = nullptr;
        // The window no longer wants them.
        pending_.clear();
    }

    void run(const LinkThread::Job& job) { job(link_); }

    void request(const LinkThread::Tick& job)
    {
        // The ticks' results before this job's, in order.
        deliverPending();
        LinkThread::TickResult result = job(link_);
        QMetaObject::invokeMethod(
            &owner_,
            [owner = &owner_, state = link_.state(), result = std::move(result)] {
                owner->deliverResult(state, result);
            },
            Qt::QueuedConnection);
    }

    void shutdown()
    {
        stopTicks();
        link_.disconnectEcm();
    }

private:
    void publishState()
    {
        QMetaObject::invokeMethod(
            &owner_, [owner = &owner_, state = link_.state()] { owner->deliverState(state); },
            Qt::QueuedConnection);
    }

    void runTick()
    {
        if (!tick_)
            return;
        if (owner_.ticksInFlight_.load() >= kMaxTicksAhead) {
            QThread::msleep(1);
            return;
        }
        const std::uint64_t queriesBefore = link_.queries();
        LinkThread::TickResult result = tick_(link_);
        if (backToBack_) {
            // Back to back while the ticks use the line, which paces them; a
            // tick that exchanged nothing (no ECM) waits a millisecond
            // instead of spinning the thread.
            const int interval = link_.queries() != queriesBefore ? 0 : kIdleBackToBackMs;
            if (timer_.interval() != interval)
                timer_.start(interval);
        }
        if (result)
            pending_.push_back(std::move(result));
        const auto since = std::chrono::steady_clock::now() - lastDelivery_;
        if (since >= kDeliverStateEvery || (!pending_.empty() && since >= kDeliverEvery))
            deliverTicks();
    }

    void deliverTicks()
    {
        lastDelivery_ = std::chrono::steady_clock::now();
        owner_.ticksInFlight_.fetch_add(1);
        QMetaObject::invokeMethod(
            &owner_,
            [owner = &owner_, state = link_.state(), session = session_, results = std::move(pending_)] {
                owner->deliverTicks(state, session, results);
            },
            Qt::QueuedConnection);
        pending_.clear();
    }

    void deliverPending()
    {
        if (!pending_.empty())
            deliverTicks();
    }

    std::unique_ptr<SerialLine> line_;
    SystemClock clock_;
    EcmLink link_;
    LinkThread& owner_;
    QTimer timer_;
    LinkThread::Tick tick_;
    std::vector<LinkThread::TickResult> pending_;
    std::chrono::steady_clock::time_point lastDelivery_{};
    quint64 session_ = 0;
    bool backToBack_ = false;
};

LinkThread::LinkThread(LinkState& shownState, QObject* parent, LineFactory makeLine, LinkTimings timings)
    : QObject(parent), shownState_(shownState)
{
    std::unique_ptr<SerialLine> line = makeLine ? makeLine() : makeSystemSerialLine();
    worker_ = new LinkWorker(std::move(line), timings, *this);
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName("ECM link");
    thread_.start();
}

LinkThread::~LinkThread()
{
    // Whatever runs ends within a pause slice or one reply wait.
    interrupt_.raise();
    QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->shutdown(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

quint64 LinkThread::connectEcm(const std::optional<std::string>& device, const SerialSettings& settings,
                               Job whenConnected)
{
    const quint64 request = ++nextRequest_;
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, request, device, settings, whenConnected = std::move(whenConnected)] {
            worker->connectEcm(request, device, settings, whenConnected);
        },
        Qt::QueuedConnection);
    return request;
}

void LinkThread::disconnectEcm()
{
    interrupt_.raise();
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            worker_->disconnectEcm();
            interrupt_.lower();
        },
        Qt::QueuedConnection);
}

void LinkThread::startTicks(int periodMs, Tick tick)
{
    const quint64 session = ++session_;
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, session, periodMs, tick = std::move(tick)]() mutable {
            worker->startTicks(session, periodMs, std::move(tick));
        },
        Qt::QueuedConnection);
}

void LinkThread::setTickPeriod(int periodMs)
{
    QMetaObject::invokeMethod(worker_, [worker = worker_, periodMs] { worker->setPeriod(periodMs); },
                              Qt::QueuedConnection);
}

void LinkThread::stopTicks()
{
    ++session_;
    interrupt_.raise();
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            worker_->stopTicks();
            interrupt_.lower();
        },
        Qt::QueuedConnection);
}

void LinkThread::post(Job job)
{
    QMetaObject::invokeMethod(worker_, [worker = worker_, job = std::move(job)] { worker->run(job); },
                              Qt::QueuedConnection);
}

void LinkThread::request(Tick job)
{
    QMetaObject::invokeMethod(worker_, [worker = worker_, job = std::move(job)] { worker->request(job); },
                              Qt::QueuedConnection);
}

void LinkThread::interruptAndRequest(Tick job)
{
    interrupt_.raise();
    QMetaObject::invokeMethod(
        worker_,
        [this, job = std::move(job)] {
            interrupt_.lower();
            worker_->request(job);
        },
        Qt::QueuedConnection);
}

void LinkThread::deliverResult(const LinkState& state, const TickResult& result)
{
    deliverState(state);
    if (result)
        result();
}

void LinkThread::deliverState(const LinkState& state)
{
    shownState_ = state;
    emit stateChanged();
}

void LinkThread::deliverTicks(const LinkState& state, quint64 session, const std::vector<TickResult>& results)
{
    ticksInFlight_.fetch_sub(1);
    deliverState(state);
    // A result may stop the ticks: the rest of its batch is dropped then.
    for (const TickResult& result : results) {
        if (session != session_)
            return;
        result();
    }
}

}  // namespace tavo
