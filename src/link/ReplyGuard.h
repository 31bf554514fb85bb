#pragma once
// How carefully the link waits around each exchange, so that a stray byte
// cannot stand in for a reply that never came.
//
// On a one-byte protocol a doubled reply, a noise byte or a late reply that
// arrives while the link waits for a request the ECM dropped is taken for
// that request's reply, and the count of bytes stays even: nothing shows.
// So after any anomaly (a stray byte, a missed reply, a sync try out of
// step) the link works carefully: after each reply it lets the line stay
// quiet for a few byte times before the next request (a doubled or noise
// byte then shows as a stray), and after a missed reply it waits out a
// late-reply horizon that covers the latest reply seen so far (the reply,
// if it comes, shows as a stray instead of answering the next request). A
// clean stretch of exchanges brings it back to full speed. A new connection
// starts carefully too, for a shorter stretch: nothing is known of the line
// yet.
//
// Plain bookkeeping on the link's clock; EcmLink does the waiting.

#include <chrono>
#include <cstdint>

namespace tavo {

class ReplyGuard {
public:
    using Micros = std::chrono::microseconds;

    // Clean exchanges in a row after which the link works at full speed
    // again: after an anomaly, and at the start of a connection.
    static constexpr int kCleanStretch = 2000;
    static constexpr int kFirstStretch = 64;
    // The longest the quiet after a reply and the late-reply horizon grow to.
    static constexpr Micros kLongestSettle{std::chrono::milliseconds(20)};
    static constexpr Micros kLongestHorizon{std::chrono::seconds(1)};

    explicit ReplyGuard(Micros replyWait);

    // A new connection at `baud`: full speed, nothing learnt.
    void connected(int baud);

    bool careful() const { return careful_; }
    // How long the line must stay quiet after a reply before the next
    // request: nothing at full speed. A doubled or noise byte follows its
    // reply by two byte times on the line; on its way in it may be held up
    // as long as the replies are, so the slowest recent reply counts too.
    Micros settle() const;
    // Until when the line must stay quiet after a request asked at
    // `askedAt` went unanswered.
    Micros horizonEnd(Micros askedAt) const { return askedAt + horizon_; }
    Micros horizon() const { return horizon_; }
    // Replies received and requests left unanswered since start.
    std::uint64_t replies() const { return replies_; }
    std::uint64_t misses() const { return misses_; }

    // A reply came (alone) at `now`, `latency` after its request went out.
    void replied(Micros now, Micros latency);
    // The request asked at `askedAt` got no reply.
    void missed(Micros askedAt);
    // A byte no request waited for turned up at `now`. `afterReply`: it came
    // within the quiet after a reply, where a doubled or noise byte of that
    // reply is expected.
    void strayByte(Micros now, bool afterReply);
    // The reply came a second time, within the quiet after it.
    void repeated();
    // The quiet after a reply, or the horizon after a missed one, passed
    // without a byte: what was learnt from stray bytes fades, so that noise
    // that happened to come late cannot slow a bad line down for good.
    void quietAfterReply();
    void quietHorizon();
    // A sync try answered other bytes than 0xFF and 0x12.
    void outOfStep();

private:
    void anomaly();

    Micros replyWait_;
    Micros echoBound_{0};  // the latest a reply's double or noise byte comes after it
    Micros firstSettle_{0};
    Micros firstHorizon_{0};
    Micros settle_{0};
    Micros horizon_{0};
    Micros slowestReply_{0};  // the slowest recent reply, fading as faster ones come
    bool careful_ = false;
    int clean_ = 0;
    int cleanNeeded_ = kFirstStretch;
    bool anyReply_ = false;
    bool anyMiss_ = false;
    Micros lastReplyAt_{0};
    Micros lastMissAt_{0};
    std::uint64_t replies_ = 0;
    std::uint64_t misses_ = 0;
};

}  // namespace tavo
