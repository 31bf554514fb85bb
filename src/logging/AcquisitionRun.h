#pragma once
// A logging run as the link thread (or tavo-cli log) carries it: the ticks'
// copy of the acquisition state, the held row, and what keeps a run going
// when the ECM falls silent or the port goes away: failed ticks are retried
// no faster than the chosen rate and never less than 50 ms apart, a lost
// port is opened again with the connection procedure (at most once a
// second), and an ECM silent for five seconds gets the procedure again (a
// restarted ECM needs it to answer), at most every ten.

#include <chrono>
#include <optional>
#include <string>

#include "link/SerialSettings.h"
#include "logging/Acquisition.h"

namespace tavo {

class EcmLink;

// Where the run reconnects to.
struct LinkTarget {
    std::optional<std::string> device;
    SerialSettings settings;
};

class AcquisitionRun {
public:
    // Without a target the run never reconnects (tavo-cli log ends instead).
    AcquisitionRun(const AcquisitionState& state, const LogChannels& channels, std::optional<LinkTarget> target = {});

    AcquisitionState state;  // the ticks' copy
    LogChannels channels;
    CustomAddressText customText{};

    TickRecord tick(EcmLink& link);
    // The end of a run: the held row is decided by one more sync check.
    TickRecord finish(EcmLink& link);
    // LOG pressed on a connected link: the silence is counted from now.
    void started(EcmLink& link);

    // When the last tick whose replies all came began, on the link's clock;
    // the run's start before the first.
    std::chrono::microseconds lastAnswered() const { return lastAnswered_; }
    // When a failed tick may be tried again (Waiting before then).
    std::chrono::microseconds retryAt() const { return retryAt_; }
    // Ticks whose row was stored, and ticks whose row was not.
    std::int64_t answeredTicks() const { return answeredTicks_; }
    std::int64_t missedTicks() const { return missedTicks_; }

private:
    void maybeReconnect(EcmLink& link, std::chrono::microseconds now);
    void count(const TickRecord& record);

    HeldRow held_;
    std::optional<LinkTarget> target_;
    std::chrono::microseconds retryAt_{0};
    std::chrono::microseconds reconnectAt_{0};        // a lost port: at most once a second
    std::chrono::microseconds silentReconnectAt_{0};  // a silent ECM: at most every ten seconds
    std::chrono::microseconds lastAnswered_{0};
    std::int64_t answeredTicks_ = 0;
    std::int64_t missedTicks_ = 0;
};

}  // namespace tavo
