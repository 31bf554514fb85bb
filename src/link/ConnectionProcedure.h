#pragma once
// The connection procedure: probes of 0x12 at the high speed until the ECM
// echoes it, with low-speed wake-ups between unanswered attempts and the
// five-byte sequence before the third attempt's probes. Its order, bytes and
// pauses are what ECMs in the field answer to; they are kept exactly.

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

#include "link/LinkFailure.h"
#include "link/SerialLine.h"
#include "link/SerialSettings.h"

namespace tavo {

struct LinkTimings {
    std::chrono::microseconds probePause{std::chrono::milliseconds(100)};  // after each probe
    std::chrono::microseconds wakePause{std::chrono::milliseconds(300)};   // around the low-speed wake-up
    std::chrono::microseconds replyWait{std::chrono::milliseconds(50)};    // bound of the wait for a reply
};

// Raised from another thread to make a running connection procedure end
// unconnected and a running tick's remaining exchanges do nothing; each
// raise is lowered by the command that asked for it, once it has run.
class LinkInterrupt {
public:
    void raise() { pending_.fetch_add(1); }
    void lower() { pending_.fetch_sub(1); }
    bool raised() const { return pending_.load(std::memory_order_relaxed) > 0; }

private:
    std::atomic<int> pending_{0};
};

inline constexpr std::uint8_t kProbeByte = 0x12;
inline constexpr int kConnectAttempts = 5;
inline constexpr int kProbesPerAttempt = 3;

// Runs the procedure on `device` over `line`, which is closed on entry.
// Afterwards the line is open exactly when the ECM answered; otherwise the
// failure says why (the port could not be opened, the adapter refused the
// rate, the ECM stayed silent, the user aborted, the device went away).
LinkFailure runConnectionProcedure(SerialLine& line, LinkClock& clock, const LinkTimings& timings,
                                   const LinkInterrupt* interrupt, const std::string& device,
                                   const SerialSettings& settings);

}  // namespace tavo
