#pragma once
// Where a logging run stands, held once for the whole program: idle,
// connecting, logging, no reply, or recovering (the port went away and is
// being opened again). The windows show it; the session moves it along with
// the plain transitions below, on one clock (the caller's, in microseconds),
// so "last answered" and "No reply from the ECM since ..." never disagree.
//
// The acquisition's LOG flags (logOn, logPaused) are the ticks' and the log
// file's; they are written from these transitions only.

#include <chrono>
#include <string>

#include "logging/Acquisition.h"
#include "logging/LogFile.h"

namespace tavo {

enum class RunPhase {
    Idle,        // no run, or a run whose ticks are not running (its window closed)
    Connecting,  // the connection procedure, Abort possible
    Logging,     // the ECM answers
    NoReply,     // the ECM has been silent longer than the rate allows
    Recovering,  // silent, and the link itself is lost: being opened again
};
const char* runPhaseName(RunPhase phase);

class LogRunState {
public:
    using Time = std::chrono::microseconds;

    RunPhase phase() const { return phase_; }
    bool connecting() const { return phase_ == RunPhase::Connecting; }
    // Sampling on a made connection, answered or not.
    bool running() const
    {
        return phase_ == RunPhase::Logging || phase_ == RunPhase::NoReply || phase_ == RunPhase::Recovering;
    }
    bool silent() const { return phase_ == RunPhase::NoReply || phase_ == RunPhase::Recovering; }
    bool aborting() const { return aborting_; }

    // LOG pressed (or a run on resumed): connecting. `acquisition` gets LOG
    // pressed; its flags from before are kept for a connection that fails.
    // False when a run is already connecting or on.
    bool press(AcquisitionState& acquisition);
    bool resume(AcquisitionState& acquisition);
    // Abort during "Connecting...": true the first time only.
    bool abort();
    // The connection procedure ended: logging from `now` when it connected
    // and was not aborted, else back to idle with LOG's flags as they were.
    // Returns whether the run is on.
    bool connectFinished(bool connected, Time now, AcquisitionState& acquisition);
    // The flags a failed or aborted connection leaves LOG with.
    bool onBefore() const { return false; }
    bool pausedBefore() const { return pausedBefore_; }

    // A logged tick's trouble: an answered one clears the silence.
    // Returns whether the phase changed.
    bool ticked(TickTrouble trouble, Time now);
    // The silence check, run on a timer: longer than `limit` without an
    // answered tick is "no reply" (or "recovering" when the link is lost).
    bool checkSilence(Time now, std::chrono::milliseconds limit, bool linkConnected);
    // The run ended (LOG released, or its window closed).
    void stop();

    Time lastAnswered() const { return lastAnswered_; }
    TickTrouble lastTrouble() const { return lastTrouble_; }
    // When the last answer came, on the wall clock: `wallNow` read at `now`.
    TimeOfDay lastAnsweredAt(Time now, const TimeOfDay& wallNow) const;

private:
    RunPhase phase_ = RunPhase::Idle;
    bool aborting_ = false;
    bool pausedBefore_ = false;
    Time lastAnswered_{0};
    TickTrouble lastTrouble_ = TickTrouble::None;
};

// A time of day moved back by `ago` (wrapping past midnight).
TimeOfDay timeOfDayBefore(const TimeOfDay& at, std::chrono::microseconds ago);

}  // namespace tavo
