#include "link/EcmLink.h"

namespace tavo {

namespace {

// A line that keeps delivering bytes for this many reply waits is given up
// on for the moment: the next request goes out regardless (and the stray
// bytes counted meanwhile keep its answer from being trusted).
constexpr int kMostQuietWaits = 10;

}  // namespace

EcmLink::EcmLink(SerialLine& line, LinkClock& clock, LinkTimings timings)
    : line_(line), clock_(clock), timings_(timings), guard_(timings.replyWait)
{
}

EcmLink::~EcmLink()
{
    if (portOpen_)
        line_.close();
}

void EcmLink::lineFailed()
{
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    state_.linkSynced = false;
    state_.failure = LinkFailure::of(LinkProblem::LineLost);
}

void EcmLink::connectEcm(const std::optional<std::string>& device, const SerialSettings& settings)
{
    // A client that connects while connected gets a fresh procedure rather
    // than a second handle on the port.
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    // Whatever the line was before, nothing is in step until a check passes.
    state_.linkSynced = false;
    if (!device) {
        state_.failure = LinkFailure::of(LinkProblem::NoPort);
        return;
    }
    state_.failure = runConnectionProcedure(line_, clock_, timings_, interrupt_, *device, settings);
    state_.linkConnected = !state_.failure;
    if (state_.linkConnected) {
        replyTimes_.restart(baudForSpeed(1, settings.highSpeed));
        state_.replies = replyTimes_.summary();
    }
    portOpen_ = state_.linkConnected;
    if (state_.linkConnected)
        guard_.connected(line_.lineRate().value_or(baudForSpeed(1, settings.highSpeed)));
}

void EcmLink::disconnectEcm()
{
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    state_.linkSynced = false;
    state_.failure = {};
}

void EcmLink::sendByte(std::uint8_t byte)
{
    if (!state_.linkConnected || interrupted())
        return;
    if (line_.writeByte(byte) == LineResult::Failed)
        lineFailed();
}

std::optional<std::uint8_t> EcmLink::receiveByte()
{
    if (!state_.linkConnected || interrupted())
        return std::nullopt;
    const LineResult wait = line_.waitForInput(timings_.replyWait);
    if (wait == LineResult::Failed) {
        lineFailed();
        return std::nullopt;
    }
    if (wait != LineResult::Ok)
        return std::nullopt;
    // Only the first byte counts. Bytes that came with it may be noise after
    // the reply, or the reply itself after a stray byte: no one can tell, so
    // they count as stray bytes and the clients do not trust this answer.
    const auto count = line_.readQueued(buffer_);
    if (!count) {
        lineFailed();
        return std::nullopt;
    }
    if (*count == 0)
        return std::nullopt;
    if (*count > 1)
        strayByte(false);
    return buffer_[0];
}

void EcmLink::timeExchange(std::chrono::microseconds sent, bool answered)
{
    // A request cut short (a lost line, a stop) says nothing about the replies.
    if (answered)
        replyTimes_.replied(clock_.now() - sent);
    else if (state_.linkConnected && !interrupted())
        replyTimes_.unanswered();
    else
        return;
    state_.replies = replyTimes_.summary();
}

bool EcmLink::letLineFallQuiet()
{
    for (int wait = 0; wait < kMostQuietWaits && !interrupted(); ++wait) {
        const LineResult result = line_.waitForInput(timings_.replyWait);
        if (result == LineResult::Failed) {
            lineFailed();
            return false;
        }
        if (result != LineResult::Ok)
            return true;
        if (!dropArrived())
            return false;
    }
    return true;
}

void EcmLink::strayByte(bool afterReply)
{
    ++strays_;
    guard_.strayByte(clock_.now(), afterReply);
}

bool EcmLink::dropArrived()
{
    const auto count = line_.readQueued(buffer_);
    if (!count) {
        lineFailed();
        return false;
    }
    if (*count > 0)
        strayByte(false);
    return true;
}

bool EcmLink::settleAfterReply(std::uint8_t reply)
{
    const auto settle = guard_.settle();
    if (settle.count() == 0)
        return true;
    // Quiet for the whole settle time; a byte restarts it, a line that never
    // falls quiet is given up on as letLineFallQuiet does. The reply once
    // more, alone, is the ECM (or the line) sending it twice: whichever of
    // the two answered the request, the value is the same, so it is no
    // stray byte; anything else is.
    bool repeatAllowed = true;
    bool quiet = true;
    auto end = clock_.now() + settle;
    for (int wait = 0; wait < kMostQuietWaits && !interrupted();) {
        const auto now = clock_.now();
        if (now >= end)
            break;
        const LineResult result = line_.waitForInput(end - now);
        if (result == LineResult::Failed) {
            lineFailed();
            return false;
        }
        if (result != LineResult::Ok)
            break;
        quiet = false;
        const auto count = line_.readQueued(buffer_);
        if (!count) {
            lineFailed();
            return false;
        }
        if (*count == 1 && buffer_[0] == reply && repeatAllowed)
            guard_.repeated();
        else if (*count > 0)
            strayByte(true);
        repeatAllowed = false;
        end = clock_.now() + settle;
        ++wait;
    }
    if (quiet)
        guard_.quietAfterReply();
    return true;
}

bool EcmLink::waitOutHorizon(std::chrono::microseconds askedAt)
{
    const auto end = guard_.horizonEnd(askedAt);
    for (int wait = 0; wait < kMostQuietWaits && !interrupted(); ++wait) {
        const auto now = clock_.now();
        if (now >= end)
            return true;
        const LineResult result = line_.waitForInput(end - now);
        if (result == LineResult::Failed) {
            lineFailed();
            return false;
        }
        if (result != LineResult::Ok)
            return true;
        if (!dropArrived())
            return false;
    }
    return true;
}

bool EcmLink::emptyInput()
{
    if (!state_.linkConnected)
        return false;
    const auto count = line_.readQueued(buffer_);
    if (!count) {
        lineFailed();
        return false;
    }
    if (*count == 0)
        return true;
    strayByte(false);
    return letLineFallQuiet();
}

std::optional<std::uint8_t> EcmLink::queryRam(int address)
{
    if (!state_.linkConnected || interrupted() || !emptyInput())
        return std::nullopt;
    const auto slot = static_cast<std::uint8_t>(address & 0xFF);
    ++queries_;
    const auto askedAt = clock_.now();
    sendByte(slot);
    const auto reply = receiveByte();
    timeExchange(askedAt, reply.has_value());
    if (!reply) {
        if (state_.linkConnected && !interrupted()) {
            guard_.missed(askedAt);
            const std::uint64_t straysBefore = strays_;
            if (letLineFallQuiet() && waitOutHorizon(askedAt) && strays_ == straysBefore)
                guard_.quietHorizon();
        }
        return std::nullopt;
    }
    state_.ramMirror[slot] = *reply;
    guard_.replied(clock_.now(), clock_.now() - askedAt);
    settleAfterReply(*reply);
    return reply;
}

SyncResult EcmLink::checkSync()
{
    if (!state_.linkConnected)
        return SyncResult::NotConnected;
    state_.linkSynced = false;
    for (int attempt = 0; attempt < kSyncTries; ++attempt) {
        // Both replies must come in this try: values left in the mirror by
        // an earlier try prove nothing about an ECM that has gone quiet, and
        // a silent ECM is not asked four more times.
        const auto first = queryRam(0x00);
        const auto second = first ? queryRam(kSyncAddress) : std::nullopt;
        if (!first || !second)
            return SyncResult::NoReply;
        if (*first == kSyncReply0 && *second == kSyncAddress) {
            state_.linkSynced = true;
            return attempt == 0 ? SyncResult::InStep : SyncResult::Resynced;
        }
        // Other replies: the line is out of step, each reply answering an
        // earlier request while the true one is still on its way. Once the
        // line has fallen quiet the next try is in step again.
        guard_.outOfStep();
        if (!letLineFallQuiet())
            return SyncResult::NoReply;
    }
    return SyncResult::OutOfStep;
}

}  // namespace tavo
