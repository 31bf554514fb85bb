#pragma once
// The ECM link: the connection (see ConnectionProcedure) and the one-byte
// request/reply protocol over it, the RAM query and the sync check, over a
// SerialLine. One EcmLink lives on the link thread; the window sees copies of
// its state.
//
// A reply belongs to the request it answers only while nothing else is on
// the line. So the input is emptied before each request; a byte found there
// (a late reply, a reply sent twice, noise) is counted as a stray byte, and
// after it, or after a request that went unanswered, the line is left to
// fall quiet and emptied again before the next request. Bytes that come
// together with a reply count as stray bytes too: the reply may have been the
// second of them. After any of these the link works carefully for a while
// (see ReplyGuard), so that a stray byte cannot stand in unseen for a reply
// that never came. The clients keep a value only when no stray byte turned
// up around it (see `strayBytes`).

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "link/ConnectionProcedure.h"
#include "link/LinkFailure.h"
#include "link/ReplyGuard.h"
#include "link/ReplyTimes.h"
#include "link/SerialLine.h"
#include "link/SerialSettings.h"

namespace tavo {

// What the link knows, all false or zero at start.
struct LinkState {
    bool linkConnected = false;  // a connection procedure succeeded and the port is open
    bool linkSynced = false;     // the last sync check succeeded
    // The last reply received for each request address; never cleared. Only
    // the protocol reads it: what is shown comes from the answers themselves.
    std::array<std::uint8_t, 256> ramMirror{};
    // Why the last connection failed or was lost (None while it holds).
    LinkFailure failure;
    // How long the replies of this connection took (kept after it ends).
    ReplyTimeSummary replies;
};

inline constexpr std::uint8_t kSyncAddress = 0x12;  // the ECM answers 0x12 for it
inline constexpr std::uint8_t kSyncReply0 = 0xFF;   // and 0xFF for address 0x00
inline constexpr int kSyncTries = 5;

// How a sync check ended.
enum class SyncResult {
    NotConnected,  // nothing was asked
    InStep,        // the first try's replies were 0xFF and 0x12
    Resynced,      // a later try's were: the line had been out of step
    OutOfStep,     // five tries with other replies
    NoReply,       // a reply did not come (the check stops there: the ECM is silent)
};

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
    // open, which fails at once). Afterwards linkConnected tells the outcome
    // and `failure` the reason of a failure; linkSynced is cleared (a new
    // procedure proves nothing in step until the next sync check).
    void connectEcm(const std::optional<std::string>& device, const SerialSettings& settings);
    // Closes the port when connected; always clears linkSynced.
    void disconnectEcm();

    void sendByte(std::uint8_t byte);
    // The first byte of the reply, waiting at most the reply bound for it;
    // bytes that came with it are dropped (and counted as stray bytes).
    // Nothing when there is none or when not connected.
    std::optional<std::uint8_t> receiveByte();
    // One exchange: the input emptied, the address out, the reply back (also
    // into ramMirror). Nothing when no reply came: the mirror keeps its
    // value, and the line is left to fall quiet so that a late reply cannot
    // be taken for the next request's.
    std::optional<std::uint8_t> queryRam(int address);
    // Up to five tries of addresses 0x00 and 0x12; synced when both replies
    // of one try are 0xFF and 0x12.
    SyncResult checkSync();
    // Empties the input; a byte found there is a stray byte (counted), after
    // which the line is left to fall quiet. False when the line failed.
    bool emptyInput();

    const LinkState& state() const { return state_; }
    bool linkConnected() const { return state_.linkConnected; }
    bool linkSynced() const { return state_.linkSynced; }
    const std::array<std::uint8_t, 256>& ramMirror() const { return state_.ramMirror; }
    // Exchanges made since start (queries of the sync check included).
    std::uint64_t queries() const { return queries_; }
    // Times bytes turned up that no request was waiting for, since start.
    std::uint64_t strayBytes() const { return strays_; }
    LinkClock& clock() { return clock_; }
    const LinkTimings& timings() const { return timings_; }
    // How carefully the exchanges are made now.
    const ReplyGuard& guard() const { return guard_; }

private:
    // The port failed under the link: no further waits, sync lost.
    void lineFailed();
    // Times an exchange whose request went out at `sent` (see ReplyTimes).
    void timeExchange(std::chrono::microseconds sent, bool answered);
    // Waits until no byte has come for a reply wait, dropping what comes;
    // gives up on a line that never falls quiet. False when the line failed.
    bool letLineFallQuiet();
    // A byte no request waited for (`afterReply`: in the quiet after a reply).
    void strayByte(bool afterReply);
    // Working carefully: the quiet after a reply, and the late-reply horizon
    // after a missed one. Bytes that come meanwhile are stray bytes. False
    // when the line failed.
    bool settleAfterReply(std::uint8_t reply);
    bool waitOutHorizon(std::chrono::microseconds askedAt);
    // Reads what came during a wait (stray bytes): false when the line failed.
    bool dropArrived();

    SerialLine& line_;
    LinkClock& clock_;
    LinkTimings timings_;
    const LinkInterrupt* interrupt_ = nullptr;
    LinkState state_;
    ReplyTimes replyTimes_;
    bool portOpen_ = false;
    std::uint64_t queries_ = 0;
    std::uint64_t strays_ = 0;
    ReplyGuard guard_;
    std::array<std::uint8_t, 5000> buffer_{};  // the receive buffer
};

}  // namespace tavo
