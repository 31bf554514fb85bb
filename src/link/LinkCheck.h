#pragma once
// What the reply times say about the line: a good line, or a USB serial
// adapter that holds each short reply until its latency timer runs out (an
// FTDI adapter's is 16 ms unless it is set lower), with the fix for the
// system in use; and how many rows a second logging can expect.

#include <cstdint>
#include <optional>
#include <string>

#include "link/ReplyTimes.h"

namespace tavo {

enum class ReplyVerdict {
    TooFew,       // fewer replies than it takes to judge
    Fast,         // the replies take about the line's own time
    SlowAdapter,  // the median is well above it: an adapter holds the replies
    NoReplies,    // requests went out and nothing came back
};

inline constexpr std::uint64_t kFewestJudgedReplies = 20;
// A median more than this above the line's own time is an adapter's doing:
// an ECM turns a request round in well under a millisecond.
inline constexpr std::int64_t kSlowAdapterMarginUs = 3000;

ReplyVerdict judgeReplies(const ReplyTimeSummary& replies);

// "reply 0.4 ms" (the median; whole milliseconds from 10 ms), "" before any reply.
std::string replyTimeText(const ReplyTimeSummary& replies);
// "0.4": a time in milliseconds as the texts show it.
std::string millisecondsText(std::int64_t us);

enum class AdapterSystem { Linux, Windows };
AdapterSystem thisAdapterSystem();

// The adapter's port as its driver names it ("ttyUSB0", "COM3"; empty when
// unknown) and its latency timer where the system tells it.
struct AdapterLatency {
    std::string portName;
    std::optional<int> timerMs;
};
// Reads it for the device the link opened (per system: sysfs on Linux,
// below `root`; the FTDI driver's registry keys on Windows).
AdapterLatency readAdapterLatency(const std::string& device, const std::string& root = "/sys");
// A latency_timer file's text ("16\n") as milliseconds; nothing when it is no number of 1 to 255.
std::optional<int> parseLatencyTimer(const std::string& text);

// The one plain sentence for a slow adapter, with the fix for `system`;
// empty unless the verdict is SlowAdapter.
std::string slowAdapterSentence(const ReplyTimeSummary& replies, AdapterSystem system, const AdapterLatency& adapter);

// What a window says of a slow adapter on `device` (empty while the line is
// fast or too young to judge). The adapter is looked up once, when the line
// is first found slow, and kept in `adapter` for the connection's life.
std::string slowAdapterNotice(const ReplyTimeSummary& replies, const std::optional<std::string>& device,
                              std::optional<AdapterLatency>& adapter);

// Rows a second at "Fastest" when each row takes `exchangesPerRow` exchanges
// of the median reply time (0 before any reply).
double expectedRowsPerSecond(const ReplyTimeSummary& replies, int exchangesPerRow);

}  // namespace tavo
