#include "link/EcmLink.h"

#include <algorithm>

namespace tavo {

namespace {

// Sleeps are cut into slices of this length, so that Abort or a disconnect
// ends a pause well within a fifth of a second.
constexpr std::chrono::microseconds kPauseSlice = std::chrono::milliseconds(10);
constexpr std::size_t kReceiveBufferSize = 5000;
constexpr std::uint8_t kWakeSequence[] = {0x40, 0x00, 0x01, 0x02, 0x03};

}  // namespace

EcmLink::EcmLink(SerialLine& line, LinkClock& clock, LinkTimings timings)
    : line_(line), clock_(clock), timings_(timings)
{
}

EcmLink::~EcmLink()
{
    if (portOpen_)
        line_.close();
}

bool EcmLink::pause(std::chrono::microseconds duration)
{
    while (duration.count() > 0) {
        if (interrupted())
            return false;
        const auto slice = std::min(duration, kPauseSlice);
        clock_.sleepFor(slice);
        duration -= slice;
    }
    return !interrupted();
}

void EcmLink::lineFailed()
{
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    state_.linkSynced = false;
}

bool EcmLink::reopen(const std::string& device)
{
    portOpen_ = line_.open(device);
    return portOpen_;
}

bool EcmLink::discardQueued()
{
    return line_.readQueued(buffer_).has_value();
}

EcmLink::Step EcmLink::probeAttempt(int attempt, int highBaud)
{
    // Configuring a port: purge both queues, then the line settings.
    if (line_.purge() == LineResult::Failed || line_.configure(highBaud) == LineResult::Failed)
        return Step::GiveUp;
    if (attempt == 3) {
        for (const std::uint8_t byte : kWakeSequence)
            if (line_.writeByte(byte) == LineResult::Failed)
                return Step::GiveUp;
    }
    for (int probe = 0; probe < kProbesPerAttempt; ++probe) {
        if (interrupted() || line_.writeByte(kProbeByte) == LineResult::Failed)
            return Step::GiveUp;
        if (!pause(timings_.probePause))
            return Step::GiveUp;
        const LineResult wait = line_.waitForInput(timings_.replyWait);
        if (wait == LineResult::Failed)
            return Step::GiveUp;
        if (wait != LineResult::Ok)
            continue;
        const auto count = line_.readQueued(buffer_);
        if (!count)
            return Step::GiveUp;
        if (std::find(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(*count), kProbeByte) !=
            buffer_.begin() + static_cast<std::ptrdiff_t>(*count))
            return Step::Connected;
    }
    return Step::Go;
}

bool EcmLink::wakeUp(const std::string& device, int lowBaud)
{
    line_.close();
    portOpen_ = false;
    if (!pause(timings_.wakePause) || !reopen(device))
        return false;
    if (line_.purge() == LineResult::Failed || line_.configure(lowBaud) == LineResult::Failed)
        return false;
    if (line_.writeByte(kProbeByte) == LineResult::Failed || !discardQueued())
        return false;
    if (!pause(timings_.wakePause) || line_.purge() == LineResult::Failed)
        return false;
    if (line_.writeByte(kProbeByte) == LineResult::Failed || !discardQueued())
        return false;
    line_.close();
    portOpen_ = false;
    return pause(timings_.wakePause);
}

void EcmLink::connectEcm(const std::optional<std::string>& device, const SerialSettings& settings)
{
    // A client that connects while connected gets a fresh procedure rather
    // than a second handle on the port.
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    if (!device || interrupted() || !reopen(*device))
        return;
    const int highBaud = baudForSpeed(static_cast<int>(SpeedGroup::High), settings.highSpeed);
    const int lowBaud = baudForSpeed(static_cast<int>(SpeedGroup::Low), settings.lowSpeed);
    for (int attempt = 1;; ++attempt) {
        const Step step = probeAttempt(attempt, highBaud);
        if (step == Step::Connected) {
            state_.linkConnected = true;
            return;
        }
        if (step == Step::GiveUp || attempt == kConnectAttempts)
            break;
        if (!wakeUp(*device, lowBaud) || !reopen(*device))
            break;
    }
    if (portOpen_)
        line_.close();
    portOpen_ = false;
}

void EcmLink::disconnectEcm()
{
    if (portOpen_)
        line_.close();
    portOpen_ = false;
    state_.linkConnected = false;
    state_.linkSynced = false;
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
    // Only the first byte counts; anything after it in the queue is noise.
    const auto count = line_.readQueued(std::span(buffer_).first(kReceiveBufferSize));
    if (!count) {
        lineFailed();
        return std::nullopt;
    }
    if (*count == 0)
        return std::nullopt;
    return buffer_[0];
}

bool EcmLink::queryRam(int address)
{
    if (!state_.linkConnected || interrupted())
        return false;
    const auto slot = static_cast<std::uint8_t>(address & 0xFF);
    ++queries_;
    sendByte(slot);
    const auto reply = receiveByte();
    if (!reply)
        return false;
    state_.ramMirror[slot] = *reply;
    return true;
}

void EcmLink::checkSync()
{
    if (!state_.linkConnected)
        return;
    state_.linkSynced = false;
    for (int attempt = 0; attempt < kSyncTries && state_.linkConnected && !interrupted(); ++attempt) {
        // Both replies must come in this try: values left in the mirror by
        // an earlier try prove nothing about an ECM that has gone quiet.
        const bool first = queryRam(0x00);
        const bool second = queryRam(kSyncAddress);
        if (first && second && state_.ramMirror[0x00] == kSyncReply0 &&
            state_.ramMirror[kSyncAddress] == kSyncAddress) {
            state_.linkSynced = true;
            return;
        }
    }
}

}  // namespace tavo
