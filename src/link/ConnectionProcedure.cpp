#include "link/ConnectionProcedure.h"

#include <algorithm>
#include <array>

namespace tavo {

namespace {

// Sleeps are cut into slices of this length, so that Abort or a disconnect
// ends a pause well within a fifth of a second.
constexpr std::chrono::microseconds kPauseSlice = std::chrono::milliseconds(10);
constexpr std::uint8_t kWakeSequence[] = {0x40, 0x00, 0x01, 0x02, 0x03};

// One run of the procedure: the line, the clock and what went wrong.
class Procedure {
public:
    Procedure(SerialLine& line, LinkClock& clock, const LinkTimings& timings, const LinkInterrupt* interrupt)
        : line_(line), clock_(clock), timings_(timings), interrupt_(interrupt)
    {
    }

    LinkFailure run(const std::string& device, const SerialSettings& settings)
    {
        const int highBaud = baudForSpeed(static_cast<int>(SpeedGroup::High), settings.highSpeed);
        const int lowBaud = baudForSpeed(static_cast<int>(SpeedGroup::Low), settings.lowSpeed);
        if (aborted() || !open(device))
            return finish();
        for (int attempt = 1;; ++attempt) {
            if (probeAttempt(attempt, highBaud))
                return {};
            if (failure_ || attempt == kConnectAttempts)
                break;
            if (!wakeUp(device, lowBaud) || !open(device))
                break;
        }
        if (!failure_)
            failure_.problem = LinkProblem::NoResponse;
        return finish();
    }

private:
    bool aborted()
    {
        if (interrupt_ && interrupt_->raised()) {
            failure_.problem = LinkProblem::Aborted;
            return true;
        }
        return false;
    }

    // Whether a step of the line went through; a device gone ends the procedure.
    bool ok(LineResult result)
    {
        if (result == LineResult::Failed) {
            failure_.problem = LinkProblem::LineLost;
            return false;
        }
        return !aborted();
    }

    bool pause(std::chrono::microseconds duration)
    {
        while (duration.count() > 0) {
            if (aborted())
                return false;
            const auto slice = std::min(duration, kPauseSlice);
            clock_.sleepFor(slice);
            duration -= slice;
        }
        return !aborted();
    }

    bool open(const std::string& device)
    {
        const PortStatus status = line_.open(device);
        open_ = static_cast<bool>(status);
        if (!open_) {
            failure_.problem = LinkProblem::CannotOpen;
            failure_.port = status;
        }
        return open_;
    }

    void close()
    {
        if (open_)
            line_.close();
        open_ = false;
    }

    LinkFailure finish()
    {
        close();
        return failure_;
    }

    // Configuring an opened port: both queues emptied, then the line settings,
    // and the rate read back: an adapter that cannot make it would probe on
    // at its old rate and never be heard.
    bool configure(int baud)
    {
        if (!ok(line_.purge()))
            return false;
        const LineResult set = line_.configure(baud);
        if (set == LineResult::Failed)
            return ok(set);
        const auto reported = line_.lineRate();
        if (set == LineResult::Refused || (reported && !rateTaken(baud, *reported))) {
            failure_.problem = LinkProblem::RateRefused;
            failure_.rateAsked = baud;
            failure_.rateSet = reported.value_or(0);
            return false;
        }
        return !aborted();
    }

    bool discardQueued() { return line_.readQueued(buffer_).has_value() || ok(LineResult::Failed); }

    // True when the ECM echoed a probe.
    bool probeAttempt(int attempt, int highBaud)
    {
        if (!configure(highBaud))
            return false;
        if (attempt == 3) {
            for (const std::uint8_t byte : kWakeSequence)
                if (!ok(line_.writeByte(byte)))
                    return false;
        }
        for (int probe = 0; probe < kProbesPerAttempt; ++probe) {
            if (!ok(line_.writeByte(kProbeByte)) || !pause(timings_.probePause))
                return false;
            const LineResult wait = line_.waitForInput(timings_.replyWait);
            if (!ok(wait))
                return false;
            if (wait != LineResult::Ok)
                continue;
            const auto count = line_.readQueued(buffer_);
            if (!count)
                return ok(LineResult::Failed);
            const auto end = buffer_.begin() + static_cast<std::ptrdiff_t>(*count);
            if (std::find(buffer_.begin(), end, kProbeByte) != end)
                return true;
        }
        return false;
    }

    bool wakeUp(const std::string& device, int lowBaud)
    {
        close();
        if (!pause(timings_.wakePause) || !open(device) || !configure(lowBaud))
            return false;
        if (!ok(line_.writeByte(kProbeByte)) || !discardQueued())
            return false;
        if (!pause(timings_.wakePause) || !ok(line_.purge()))
            return false;
        if (!ok(line_.writeByte(kProbeByte)) || !discardQueued())
            return false;
        close();
        return pause(timings_.wakePause);
    }

    SerialLine& line_;
    LinkClock& clock_;
    const LinkTimings& timings_;
    const LinkInterrupt* interrupt_;
    LinkFailure failure_;
    bool open_ = false;
    std::array<std::uint8_t, 8192> buffer_{};  // the probe buffer
};

}  // namespace

LinkFailure runConnectionProcedure(SerialLine& line, LinkClock& clock, const LinkTimings& timings,
                                   const LinkInterrupt* interrupt, const std::string& device,
                                   const SerialSettings& settings)
{
    return Procedure(line, clock, timings, interrupt).run(device, settings);
}

}  // namespace tavo
