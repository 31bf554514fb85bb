#pragma once
// The ECM link: the connection procedure (high-speed probes, low-speed
// wake-ups), the one-byte RAM query and the sync check, over a SerialLine.
// One EcmLink lives on the link thread; the window sees copies of its state.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "link/SerialLine.h"
#include "link/SerialSettings.h"

namespace tavo {

// What the link knows, all false or zero at start.
struct LinkState {
    bool linkConnected = false;  // a connection procedure succeeded and the port is open
    bool linkSynced = false;     // the last sync check succeeded
    // The last reply received for each request address; never cleared.
    std::array<std::uint8_t, 256> ramMirror{};
};

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
inline constexpr std::uint8_t kSyncAddress = 0x12;  // the ECM answers 0x12 for it
inline constexpr std::uint8_t kSyncReply0 = 0xFF;   // and 0xFF for address 0x00
inline constexpr int kConnectAttempts = 5;
inline constexpr int kProbesPerAttempt = 3;
inline constexpr int kSyncTries = 5;

class EcmLink {
public:
    EcmLink(SerialLine& line, LinkClock& clock, LinkTimings timings = {});
    ~EcmLink();
    EcmLink(const EcmLink&) = delete;
    EcmLink& operator=(const EcmLink&) = delete;

    void setInterrupt(const LinkInterrupt* interrupt) { interrupt_ = interrupt; }
    // A stop or disconnect was asked for from another thread: exchanges do nothing.
    bool interrupted() const { return interrupt_ && interrupt_->raised(); }

    // The connection procedure on `device` (nothing: there is no device to
    // open, which fails at once). Afterwards linkConnected tells the outcome;
    // linkSynced is left alone.
    void connectEcm(const std::optional<std::string>& device, const SerialSettings& settings);
    // Closes the port when connected; always clears linkSynced.
    void disconnectEcm();

    void sendByte(std::uint8_t byte);
    // The first byte of the reply, waiting at most the reply bound for it;
    // nothing when there is none or when not connected.
    std::optional<std::uint8_t> receiveByte();
    // One exchange: the address out, the reply into ramMirror. No reply
    // leaves the mirror unchanged. True when a reply came.
    bool queryRam(int address);
    // Up to five tries of addresses 0x00 and 0x12; synced when both replies
    // of one try are 0xFF and 0x12.
    void checkSync();

    const LinkState& state() const { return state_; }
    bool linkConnected() const { return state_.linkConnected; }
    bool linkSynced() const { return state_.linkSynced; }
    const std::array<std::uint8_t, 256>& ramMirror() const { return state_.ramMirror; }
    // Exchanges made since start (queries of the sync check included).
    std::uint64_t queries() const { return queries_; }
    LinkClock& clock() { return clock_; }

private:
    enum class Step { Go, Connected, GiveUp };

    // Sleeps in short slices so that an interrupt ends it soon; false then.
    bool pause(std::chrono::microseconds duration);
    // The port failed under the link: no further waits, sync lost.
    void lineFailed();
    bool reopen(const std::string& device);
    Step probeAttempt(int attempt, int highBaud);
    bool wakeUp(const std::string& device, int lowBaud);
    // Reads and drops whatever is queued; false when the line failed.
    bool discardQueued();

    SerialLine& line_;
    LinkClock& clock_;
    LinkTimings timings_;
    const LinkInterrupt* interrupt_ = nullptr;
    LinkState state_;
    bool portOpen_ = false;
    std::uint64_t queries_ = 0;
    std::array<std::uint8_t, 8192> buffer_{};  // probe replies and query replies
};

}  // namespace tavo
