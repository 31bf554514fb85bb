#include "link/ReplyGuard.h"

#include <algorithm>

namespace tavo {

namespace {

// A byte is ten bit times on the line (start, eight data, stop).
constexpr std::int64_t kBitsPerByte = 10;
// Byte times of quiet after a reply: a doubled or noise byte follows its
// reply within two.
constexpr int kSettleBytes = 4;
// A doubled or noise byte follows its reply this many byte times after it.
constexpr int kEchoBytes = 2;
// What an adapter and the system add to a byte's way in, beyond its time on
// the line.
constexpr std::chrono::microseconds kDeliveryAllowance{std::chrono::milliseconds(1)};

}  // namespace

ReplyGuard::ReplyGuard(Micros replyWait) : replyWait_(replyWait)
{
    connected(7812);
}

void ReplyGuard::connected(int baud)
{
    const Micros byteTime{kBitsPerByte * 1'000'000 / std::max(baud, 50)};
    firstSettle_ = kSettleBytes * byteTime + kDeliveryAllowance;
    settle_ = firstSettle_;
    echoBound_ = kEchoBytes * byteTime + kDeliveryAllowance / 2;
    // A reply missed after the reply wait is still looked for as long again.
    firstHorizon_ = 2 * replyWait_;
    horizon_ = firstHorizon_;
    slowestReply_ = Micros{0};
    careful_ = true;
    clean_ = 0;
    cleanNeeded_ = kFirstStretch;
    anyReply_ = false;
    anyMiss_ = false;
}

ReplyGuard::Micros ReplyGuard::settle() const
{
    if (!careful_)
        return Micros{0};
    return std::min(kLongestSettle, settle_ + 2 * slowestReply_);
}

void ReplyGuard::anomaly()
{
    careful_ = true;
    clean_ = 0;
    cleanNeeded_ = kCleanStretch;
}

void ReplyGuard::replied(Micros now, Micros latency)
{
    ++replies_;
    lastReplyAt_ = now;
    anyReply_ = true;
    // A peak that fades by a sixteenth each reply: one slow reply keeps
    // the quiet long for a while, not for ever.
    slowestReply_ = std::max(latency, slowestReply_ - slowestReply_ / 16);
    if (careful_ && ++clean_ >= cleanNeeded_)
        careful_ = false;
}

void ReplyGuard::missed(Micros askedAt)
{
    ++misses_;
    lastMissAt_ = askedAt;
    anyMiss_ = true;
    anomaly();
}

void ReplyGuard::strayByte(Micros now, bool afterReply)
{
    // At full speed nothing waits for a stray byte: where it turns up says
    // nothing about how late bytes come.
    const bool wasCareful = careful_;
    anomaly();
    if (!wasCareful)
        return;
    const Micros sinceReply = anyReply_ ? now - lastReplyAt_ : Micros::max();
    // It came after the quiet that followed the last reply: if it was that
    // reply's double or noise, the quiet was too short.
    if (!afterReply && sinceReply < kLongestSettle)
        settle_ = std::min(kLongestSettle, std::max(settle_, 2 * sinceReply));
    // It came later than a reply's double or noise does: if it was the reply
    // to the last request that went unanswered, the horizon must reach past it.
    const bool lateForAnEcho = !afterReply || sinceReply > echoBound_;
    if (lateForAnEcho && anyMiss_ && now - lastMissAt_ <= kLongestHorizon)
        horizon_ = std::min(kLongestHorizon, std::max(horizon_, (now - lastMissAt_) * 5 / 4));
}

void ReplyGuard::repeated()
{
    anomaly();
}

void ReplyGuard::quietAfterReply()
{
    settle_ = std::max(firstSettle_, settle_ - (settle_ - firstSettle_) / 16);
}

void ReplyGuard::quietHorizon()
{
    horizon_ = std::max(firstHorizon_, horizon_ - (horizon_ - firstHorizon_) / 4);
}

void ReplyGuard::outOfStep()
{
    anomaly();
}

}  // namespace tavo
